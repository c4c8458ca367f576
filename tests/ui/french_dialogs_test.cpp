// Qt's own dialogs speak French on a desktop set to another language.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "support/temp_dir.h"
#include "ui/french_dialogs.h"
#include "ui/progress_dlg.h"
#include "ui/qt_user_interface.h"
#include "ui/test_application.h"

namespace {

// The texts a dialog shows: its title, its buttons and its labels, without
// the shortcut marks.
QStringList TextsOf(QWidget* dialog) {
    QStringList texts{dialog->windowTitle()};
    for (auto* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->isVisible()) texts << button->text().remove('&');
    }
    for (auto* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible()) texts << label->text().remove('&');
    }
    return texts;
}

// The texts of the modal dialog that 'open' shows, read once it is up, then
// the dialog cancelled.
QStringList TextsOfModal(const std::function<void()>& open) {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            texts = TextsOf(dialog);
            dialog->reject();
        }
    });
    open();
    return texts;
}

// The desktop of a user who never set a language.
QApplication& EnglishDesktop() {
    setenv("LANG", "C", 1);
    setenv("LC_ALL", "C", 1);
    unsetenv("LANGUAGE");
    return TestApplication();
}

TEST(FrenchDialogs, FileDialogsAndCancelButtonsUnderACDesktop) {
    QApplication& app = EnglishDesktop();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(folder + "/qtbase_fr.qm")) GTEST_SKIP() << "no Qt French translations";
    QTranslator* translator = SpeakFrenchInQtDialogs(app);
    ASSERT_NE(translator, nullptr);

    TempDir dir;
    QtUserInterface ui;
    struct Case {
        const char* what;
        bool save;
        QStringList expected;
    };
    const Case cases[] = {
        {"ouvrir", false, {"Ouvrir", "Annuler", "Voir dans :", "Nom de fichier :"}},
        {"enregistrer", true, {"Enregistrer sous", "Enregistrer", "Annuler", "Voir dans :"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileDialogRequest request;
        request.save = c.save;
        request.filter = "Fichiers de points (*.txt)|*.txt||";
        request.initialFolder = dir.path();
        std::optional<std::string> chosen = std::string("not asked");
        const QStringList texts = TextsOfModal([&] { chosen = ui.AskFileName(request); });
        EXPECT_FALSE(chosen.has_value());  // cancelled, not left unanswered
        for (const QString& text : c.expected) {
            EXPECT_TRUE(texts.contains(text)) << text.toStdString() << " not in "
                                              << texts.join(" | ").toStdString();
        }
        for (const char* english : {"Cancel", "Open", "Save", "Look in:", "File name:"}) {
            EXPECT_FALSE(texts.contains(english)) << english;
        }
    }

    // The progress window's cancel button is one of Qt's standard buttons.
    CProgressDlg progress;
    ASSERT_TRUE(progress.Create(nullptr));
    EXPECT_TRUE(TextsOf(&progress).contains("Annuler")) << TextsOf(&progress).join(" | ").toStdString();
    progress.Destroy();

    QCoreApplication::removeTranslator(translator);
    delete translator;
}

TEST(FrenchDialogs, AFolderWithoutTranslationsLeavesQtsTexts) {
    QApplication& app = EnglishDesktop();
    TempDir empty;
    EXPECT_EQ(SpeakFrenchInQtDialogs(app, QString::fromStdString(empty.path())), nullptr);
    CProgressDlg progress;
    ASSERT_TRUE(progress.Create(nullptr));
    EXPECT_TRUE(TextsOf(&progress).contains("Cancel")) << TextsOf(&progress).join(" | ").toStdString();
    progress.Destroy();
}

}  // namespace

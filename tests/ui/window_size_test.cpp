// The window at its smallest size shows every control whole, and on a large
// screen the room goes to the fields, not to the labels.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMap>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/application_runs.h"
#include "app/quorvel_app.h"
#include "catalogue/loader.h"
#include "pages/window_rules.h"
#include "support/scripted_interface.h"
#include "support/temp_dir.h"
#include "ui/french_dialogs.h"
#include "ui/quorvel_dlg.h"
#include "ui/quorvel_page_view.h"
#include "ui/test_application.h"

namespace {

using SC = SideControl;

// The shown labels, buttons, lists and fields of the window that are cut:
// smaller than the least size Qt gives them for their text, a field
// narrower than Qt's usual field (or its own maximum) or than its text.
QStringList CutWidgets(const QWidget* window) {
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        auto* edit = qobject_cast<QLineEdit*>(w);
        if (!edit && !qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w) &&
            !qobject_cast<QComboBox*>(w) && !qobject_cast<QGroupBox*>(w)) {
            continue;
        }
        if (w->parentWidget() && w->parentWidget()->inherits("QComboBox")) continue;
        QSize least = w->minimumSizeHint();
        if (edit) {
            // Qt's least field holds its widest character; the rest is frame.
            const int frame = edit->minimumSizeHint().width() - edit->fontMetrics().maxWidth();
            least.setWidth(std::max(std::min(edit->sizeHint().width(), edit->maximumWidth()),
                                    edit->fontMetrics().horizontalAdvance(edit->text()) + frame));
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            // A list shows its chosen entry whole.
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QSize text(combo->fontMetrics().boundingRect(combo->currentText()).width(),
                             combo->fontMetrics().height());
            least = least.expandedTo(
                combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, combo));
        }
        if (w->width() < least.width() || w->height() < least.height()) {
            cut << QStringLiteral("%1 « %2 » %3x%4 < %5x%6")
                       .arg(w->objectName(), edit ? edit->text() : QString())
                       .arg(w->width())
                       .arg(w->height())
                       .arg(least.width())
                       .arg(least.height());
        }
    }
    return cut;
}

// Lays the window out and gives it its minimum size.
void Shrink(QWidget* window) {
    // Lists refilled by the last choice ask for a new layout in turn, and a
    // list's new width reaches the window's minimum only once every layout
    // above it has been redone: lay out again until nothing moves.
    // A list sized to its contents also resizes itself on a timer of its
    // own (20 ms) after a change: each pass lets it fire first.
    QSize before;
    for (int pass = 0; pass < 10; ++pass) {
        QTest::qWait(30);
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        for (QLayout* layout : window->findChildren<QLayout*>()) layout->activate();
        window->layout()->activate();
        window->resize(window->minimumSize());
        QApplication::processEvents();
        if (pass > 1 && window->size() == before) break;
        before = window->size();
    }
}

QStringList Entries(QWidget* widget) {
    QStringList entries;
    auto* combo = qobject_cast<QComboBox*>(widget);
    for (int i = 0; combo && i < combo->count(); ++i) entries << combo->itemText(i);
    return entries;
}

// The window of the default installation, as the program opens it.
class WindowSizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        SpeakFrenchInQtDialogs(TestApplication());
        app.configurationPath = dir.File("quorvel.ini");
        std::filesystem::copy_file(data + "Quorvel/quorvel.ini", app.configurationPath);
        app.startDirectory = app.workingDirectory = data;
        app.outputDirectory = dir.path() + "/";
        ASSERT_FALSE(ReadCatalogue(data + "catalogue.txt", app.catalogue));
        WindowSetup setup;
        setup.app = &app;
        setup.ui = &ui;
        setup.lastResult = &last;
        setup.runs = &runs;
        window = std::make_unique<CQuorvelDlg>(setup);
        window->show();
    }
    QuorvelPageView* Select(int kind) {
        window->Tabs()->setCurrentIndex(kind == StandardKind ? 1 : 2);
        return window->View(kind);
    }

    const std::string data = QUORVEL_SOURCE_DIR "/data/";
    TempDir dir;
    CQuorvelApp app;
    ScriptedInterface ui;
    CCoor last;
    CApplicationRuns runs{app, ui, last};
    std::unique_ptr<CQuorvelDlg> window;
};

// Every page in each mode, every coordinate type on each side, every angle
// unit, at the least size the window allows.
TEST_F(WindowSizeTest, AtItsMinimumSizeNothingIsCut) {
    Shrink(window.get());
    EXPECT_TRUE(CutWidgets(window.get()).isEmpty()) << CutWidgets(window.get()).join("\n").toStdString();
    int states = 0;
    for (int kind : {StandardKind, GridKind}) {
        QuorvelPageView* view = Select(kind);
        CQuorvelPage& page = view->Page();
        for (int mode : {0, 1}) {
            page.ChooseMode(mode);
            for (const QString& source : Entries(view->Widget(SourceSide, SC::Type))) {
                page.ChooseList(SourceSide, SC::Type, source.toStdString());
                for (const QString& target : Entries(view->Widget(TargetSide, SC::Type))) {
                    page.ChooseList(TargetSide, SC::Type, target.toStdString());
                    const QStringList sourceUnits = Entries(view->Widget(SourceSide, SC::Unit));
                    const QStringList targetUnits = Entries(view->Widget(TargetSide, SC::Unit));
                    const int units = static_cast<int>(std::max<qsizetype>({1, sourceUnits.size(), targetUnits.size()}));
                    for (int u = 0; u < units; ++u) {
                        if (!sourceUnits.isEmpty())
                            page.ChooseList(SourceSide, SC::Unit, sourceUnits[std::min<int>(u, sourceUnits.size() - 1)].toStdString());
                        if (!targetUnits.isEmpty())
                            page.ChooseList(TargetSide, SC::Unit, targetUnits[std::min<int>(u, targetUnits.size() - 1)].toStdString());
                        Shrink(window.get());
                        ++states;
                        const QStringList cut = CutWidgets(window.get());
                        EXPECT_TRUE(cut.isEmpty())
                            << kind << " mode " << mode << " " << source.toStdString() << " → "
                            << target.toStdString() << " unit " << u << "\n"
                            << cut.join("\n").toStdString();
                    }
                }
            }
        }
    }
    EXPECT_GT(states, 20);
}

// The room of a large screen goes to the fields and lists; labels keep their
// width, and the page stops widening well before the screen's edges, centred.
TEST_F(WindowSizeTest, OnALargeScreenTheFieldsTakeTheRoom) {
    QuorvelPageView* view = Select(StandardKind);
    view->Page().ChooseMode(0);
    Shrink(window.get());
    QMap<QString, int> small;
    for (QWidget* w : view->findChildren<QWidget*>()) {
        if (w->isVisible()) small[w->objectName()] = w->width();
    }
    window->resize(1920, 1080);
    QApplication::processEvents();
    ASSERT_EQ(window->size(), QSize(1920, 1080));

    int fields = 0;
    for (QWidget* w : view->findChildren<QWidget*>()) {
        if (!w->isVisible() || !small.contains(w->objectName())) continue;
        const std::string name = w->objectName().toStdString();
        if (qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(w->width(), small[w->objectName()]) << name;
        }
        const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w);
        if (field && w->maximumWidth() > small[w->objectName()]) {
            EXPECT_GT(w->width(), small[w->objectName()]) << name;
            ++fields;
        }
    }
    EXPECT_GT(fields, 8);
    const QRect page(view->mapTo(window.get(), QPoint(0, 0)), view->size());
    EXPECT_LT(page.width(), 1920 * 3 / 4);
    EXPECT_NEAR(page.center().x(), 1920 / 2, 8);
    // The form stays together at the top; the spare height is below it.
    auto* info = view->Widget(PageControl::InfoLine);
    EXPECT_LT(info->mapTo(window.get(), QPoint(0, info->height())).y(), 1080 * 2 / 3);
}

}  // namespace

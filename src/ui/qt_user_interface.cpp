#include "ui/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <cstdlib>

#include "ui/progress_dlg.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

void Box(QWidget* owner, QMessageBox::Icon icon, const std::string& text,
         const std::string& caption) {
    QMessageBox box(icon, Q(caption), Q(text), QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = Q(filter).trimmed().split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        QString description = parts[i];
        // The description already lists its patterns between brackets.
        const int bracket = description.lastIndexOf('(');
        if (bracket > 0) description = description.left(bracket).trimmed();
        out << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return out.join(QStringLiteral(";;"));
}

void QtUserInterface::ShowError(const std::string& text, const std::string& caption) {
    Box(owner_, QMessageBox::Critical, text, caption);
}

void QtUserInterface::ShowWarning(const std::string& text, const std::string& caption) {
    Box(owner_, QMessageBox::Warning, text, caption);
}

void QtUserInterface::ShowInformation(const std::string& text, const std::string& caption) {
    Box(owner_, QMessageBox::Information, text, caption);
}

void QtUserInterface::ShowPlain(const std::string& text, const std::string& caption) {
    Box(owner_, QMessageBox::NoIcon, text, caption);
}

bool QtUserInterface::AskYesNo(const std::string& text, const std::string& caption) {
    return AskYesNoWithIcon(text, caption, QuestionIcon::Question, false);
}

bool QtUserInterface::AskYesNoWithIcon(const std::string& text, const std::string& caption,
                                       QuestionIcon icon, bool noByDefault) {
    QMessageBox::Icon shown = QMessageBox::Question;
    if (icon == QuestionIcon::Warning) shown = QMessageBox::Warning;
    if (icon == QuestionIcon::Error) shown = QMessageBox::Critical;
    QMessageBox box(shown, Q(caption), Q(text), QMessageBox::NoButton, owner_);
    QPushButton* yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    box.setDefaultButton(noByDefault ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::unique_ptr<Progress> QtUserInterface::CreateProgress(const std::string& caption,
                                                          const std::string& text) {
    auto dialog = std::make_unique<CProgressDlg>();
    if (!dialog->Create(owner_)) return nullptr;
    if (!caption.empty()) dialog->setWindowTitle(Q(caption));
    dialog->SetStatus(text);
    return dialog;
}

std::optional<std::string> QtUserInterface::AskFileName(const FileDialogRequest& request) {
    QFileDialog dialog(owner_);
    // Qt's own dialog, in French; a desktop's native one follows its language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QtFileFilter(request.filter));
    QString suffix = Q(request.defaultExtension);
    suffix.remove(QStringLiteral("*.")).remove('.');
    if (suffix.contains(';')) suffix = suffix.section(';', 0, 0);
    dialog.setDefaultSuffix(suffix);
    if (!request.initialFolder.empty()) dialog.setDirectory(Q(request.initialFolder));
    if (!request.initialName.empty()) dialog.selectFile(Q(request.initialName));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

void QtUserInterface::Exit(int code) { std::exit(code); }

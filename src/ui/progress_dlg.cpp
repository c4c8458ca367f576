#include "ui/progress_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>

#include "shared/string_resources.h"
#include "pages/window_rules.h"
#include "ui_progress_dlg.h"

int CProgressDlg::alive_ = 0;

CProgressDlg::CProgressDlg(int captionId)
    : ui_(std::make_unique<Ui::ProgressDlg>()),
      captionId_(captionId != 0 ? captionId : IDS_PROGRESS_CAPTION) {
    ui_->setupUi(this);
    connect(ui_->buttons, &QDialogButtonBox::rejected, this, &CProgressDlg::reject);
}

CProgressDlg::~CProgressDlg() { Destroy(); }

bool CProgressDlg::Create(QWidget* owner) {
    if (created_) return true;
    if (owner == nullptr) owner = QApplication::activeWindow();
    if (owner != nullptr && owner->isEnabled()) {
        owner->setEnabled(false);
        disabledOwner_ = owner;
    }
    if (owner != nullptr) {
        setParent(owner, Qt::Dialog);
    }
    setModal(false);
    ui_->bar->setRange(lower_, upper_);
    ui_->bar->setValue(lower_);
    position_ = lower_;
    setWindowTitle(QString::fromStdString(LoadString(captionId_)));
    // Its own buttons stay usable while the owner is disabled.
    setEnabled(true);
    created_ = true;
    ++alive_;
    // Placed 100 pixels above its usual place when alone, 100 below otherwise.
    adjustSize();
    QRect area = owner ? owner->frameGeometry() : QRect();
    if (area.isEmpty() && QApplication::primaryScreen()) {
        area = QApplication::primaryScreen()->availableGeometry();
    }
    QPoint place = area.center() - QPoint(width() / 2, height() / 2);
    place.ry() += alive_ == 1 ? -100 : 100;
    move(place);
    show();
    PumpMessages();
    return true;
}

void CProgressDlg::Destroy() {
    if (!created_) return;
    created_ = false;
    --alive_;
    hide();
    if (disabledOwner_ != nullptr) {
        disabledOwner_->setEnabled(true);
        disabledOwner_ = nullptr;
    }
}

void CProgressDlg::SetStatus(const std::string& text) {
    ui_->status->setText(QString::fromStdString(text));
}

void CProgressDlg::SetRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
    ui_->bar->setRange(lower, upper);
}

void CProgressDlg::SetStep(int step) { step_ = step; }

void CProgressDlg::SetPos(int position) {
    PumpMessages();
    position_ = position;
    ui_->bar->setValue(position);
    UpdatePercent();
}

void CProgressDlg::StepIt() {
    PumpMessages();
    position_ += step_;
    if (position_ > upper_) position_ = lower_ + (position_ - upper_);
    ui_->bar->setValue(position_);
    UpdatePercent();
}

bool CProgressDlg::CheckCancel() {
    PumpMessages();
    const bool cancel = cancel_;
    cancel_ = false;
    return cancel;
}

QString CProgressDlg::PercentText() const { return ui_->percent->text(); }
QString CProgressDlg::StatusText() const { return ui_->status->text(); }

void CProgressDlg::closeEvent(QCloseEvent* event) {
    cancel_ = true;
    event->ignore();
}

void CProgressDlg::PumpMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void CProgressDlg::UpdatePercent() {
    const QString text = QString::fromStdString(ProgressPercentText(position_, lower_, upper_));
    if (ui_->percent->text() != text) ui_->percent->setText(text);
}

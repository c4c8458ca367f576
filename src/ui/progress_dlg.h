#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "shared/user_interface.h"

namespace Ui {
class ProgressDlg;
}

// The modeless progress window of long operations (file runs, grid
// loading). While it lives its owner is disabled; its cancel button only
// sets a flag that the operation reads at its next check.
class CProgressDlg : public QDialog, public Progress {
    Q_OBJECT
public:
    explicit CProgressDlg(int captionId = 0);
    ~CProgressDlg() override;

    // Creates the window over `owner` (the application's active window when
    // null), disables the owner and shows itself; false when it could not.
    bool Create(QWidget* owner = nullptr);
    void Destroy();

    void SetStatus(const std::string& text) override;
    void SetRange(int lower, int upper) override;
    void SetStep(int step) override;
    void SetPos(int position) override;
    void StepIt() override;
    bool CheckCancel() override;

    int Position() const { return position_; }
    QString PercentText() const;
    QString StatusText() const;
    bool CancelRequested() const { return cancel_; }
    static int AliveCount() { return alive_; }

public slots:
    void accept() override {}  // its OK action does nothing
    void reject() override { cancel_ = true; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PumpMessages();
    void UpdatePercent();

    std::unique_ptr<Ui::ProgressDlg> ui_;
    int captionId_;
    int lower_ = 0, upper_ = 100, step_ = 10, position_ = 0;
    bool cancel_ = false;
    bool created_ = false;
    QWidget* disabledOwner_ = nullptr;
    static int alive_;
};

#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "pages/quorvel_page.h"

namespace Ui {
class QuorvelPage;
}
class QComboBox;
class QLineEdit;
class QRadioButton;

// Draws a computation page and hands every user action to its decisions
// (CQuorvelPage); after each action the whole page is redrawn from them.
class QuorvelPageView : public QWidget {
    Q_OBJECT
public:
    QuorvelPageView(CQuorvelPage& page, QWidget* parent = nullptr);
    ~QuorvelPageView() override;

    CQuorvelPage& Page() { return page_; }
    // The widget of a control, for the window tests.
    QWidget* Widget(PageSide side, SideControl control) const {
        return side_[side][static_cast<int>(control)];
    }
    QWidget* Widget(PageControl control) const { return common_[static_cast<int>(control)]; }
    QRadioButton* ModeRadio(int mode) const;
    QRadioButton* VerticalRadio(int choice) const;
    QRadioButton* WestRadio(PageSide side, bool west) const;
    QRadioButton* SouthRadio(PageSide side, bool south) const;

    // Redraws every control from the page's state.
    void Refresh();

private:
    void Connect();
    CQuorvelPage& page_;
    std::unique_ptr<Ui::QuorvelPage> ui_;
    std::array<std::array<QWidget*, static_cast<int>(SideControl::Count)>, 2> side_{};
    std::array<QWidget*, static_cast<int>(PageControl::Count)> common_{};
    bool refreshing_ = false;
};

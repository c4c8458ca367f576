#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "app/quorvel_app.h"
#include "pages/quorvel_page.h"
#include "ui/about.h"

namespace Ui {
class QuorvelDlg;
}
class QTabWidget;
class QPushButton;
class QuorvelPageView;

// What the main window needs from start-up.
struct WindowSetup {
    const CQuorvelApp* app = nullptr;  // configuration, catalogue and folders
    UserInterface* ui = nullptr;
    CCoor* lastResult = nullptr;
    PageRuns* runs = nullptr;
    std::string helpFile;                // the help page opened by "Aide Géodésique"
    std::function<void()> releaseGrids;  // when the window closes
};

// The main window: the presentation tab and the computation pages that the
// configuration file offers, "C&alculer", "&Quitter" and the help button.
class CQuorvelDlg : public QDialog {
    Q_OBJECT
public:
    explicit CQuorvelDlg(WindowSetup setup, QWidget* parent = nullptr);
    ~CQuorvelDlg() override;

    QTabWidget* Tabs() const;
    QPushButton* ComputeButton() const;
    QuorvelPageView* View(int kind) const;
    CQuorvelPage* Page(int kind) const;

    void Compute();
    void OpenHelp();
    void ShowAbout();
    // The pages' choices written back to the configuration file.
    void SaveConfiguration();

public slots:
    void accept() override { Compute(); }  // Enter computes, as "C&alculer" does
    void reject() override;                // "&Quitter", Escape and the close box

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SelectTab(int position);

    WindowSetup setup_;
    std::unique_ptr<Ui::QuorvelDlg> ui_;
    AboutTexts about_;
    std::unique_ptr<CQuorvelPage> pages_[3];
    QuorvelPageView* views_[3] = {nullptr, nullptr, nullptr};
};

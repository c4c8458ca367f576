#include "ui/quorvel_dlg.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

#include "app/quorvel_app.h"
#include "shared/string_resources.h"
#include "shared/user_interface.h"
#include "pages/window_rules.h"
#include "ui/emblem.h"
#include "ui/quorvel_page_view.h"
#include "ui_quorvel_dlg.h"

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }

// A computation page in its tab: it widens with the window up to a width at
// which its fields still read as a form (about 160 characters), then stays
// centred, the rest of a large screen left as margins on both sides; it
// keeps its natural height at the top of the tab.
QWidget* CentredPage(QuorvelPageView* view, QWidget* tabs) {
    auto* holder = new QWidget(tabs);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(0);
    row->addWidget(view, 1, Qt::AlignTop);
    row->addStretch(0);
    view->setMaximumWidth(160 * view->fontMetrics().averageCharWidth());
    view->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    return holder;
}
}  // namespace

CQuorvelDlg::CQuorvelDlg(WindowSetup setup, QWidget* parent)
    : QDialog(parent), setup_(std::move(setup)), ui_(std::make_unique<Ui::QuorvelDlg>()) {
    ui_->setupUi(this);
    about_ = ReadAboutTexts(setup_.app->configurationPath);
    setWindowTitle(Q(about_.title));
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);
    setWindowIcon(EmblemIcon());

    // The about entry: the window's own menu (right button anywhere on the frame).
    const std::string aboutText = LoadString(IDS_ABOUT_MENU);
    if (!aboutText.empty()) {
        auto* action = new QAction(Q(aboutText), this);
        connect(action, &QAction::triggered, this, &CQuorvelDlg::ShowAbout);
        addAction(action);
        setContextMenuPolicy(Qt::ActionsContextMenu);
    }

    ui_->tabs->addTab(new CAboutPage(about_, ui_->tabs), Q(LoadString(IDS_ABOUT_MENU)));
    const int tabTitles[3] = {0, IDS_TAB_STANDARD, IDS_TAB_GRILLE};
    for (int kind : {StandardKind, GridKind}) {
        PageSettings settings;
        if (setup_.app->LoadPageConfiguration(kind, settings) == 0) continue;
        PageContext context;
        context.catalogue = &setup_.app->catalogue;
        context.ui = setup_.ui;
        context.lastResult = setup_.lastResult;
        context.runs = setup_.runs;
        context.caption = about_.title;
        context.workingDirectory = setup_.app->workingDirectory;
        context.startDirectory = setup_.app->startDirectory;
        context.outputDirectory = setup_.app->outputDirectory;
        if (kind == StandardKind) {
            pages_[kind] = std::make_unique<CStandardPage>(context);
        } else {
            pages_[kind] = std::make_unique<CGrillePage>(context);
        }
        pages_[kind]->Restore(settings);
        views_[kind] = new QuorvelPageView(*pages_[kind], ui_->tabs);
        pages_[kind]->Initialise();
        ui_->tabs->addTab(CentredPage(views_[kind], ui_->tabs), Q(LoadString(tabTitles[kind])));
    }
    ui_->tabs->setCurrentIndex(0);
    ui_->computeButton->setEnabled(false);
    connect(ui_->tabs, &QTabWidget::currentChanged, this, &CQuorvelDlg::SelectTab);
    connect(ui_->computeButton, &QPushButton::clicked, this, &CQuorvelDlg::Compute);
    connect(ui_->quitButton, &QPushButton::clicked, this, &CQuorvelDlg::reject);
    connect(ui_->helpButton, &QPushButton::clicked, this, &CQuorvelDlg::OpenHelp);
    ui_->computeButton->setToolTip(Q(LoadString(1)));
    ui_->quitButton->setToolTip(Q(LoadString(2)));
    ui_->helpButton->setToolTip(Q(LoadString(57670)));
    ui_->tabs->setToolTip(Q(LoadString(1200)));
}

CQuorvelDlg::~CQuorvelDlg() {
    // The page views go before the pages whose state they draw.
    for (QuorvelPageView*& view : views_) {
        delete view;
        view = nullptr;
    }
}

QTabWidget* CQuorvelDlg::Tabs() const { return ui_->tabs; }
QPushButton* CQuorvelDlg::ComputeButton() const { return ui_->computeButton; }

QuorvelPageView* CQuorvelDlg::View(int kind) const {
    return kind == StandardKind || kind == GridKind ? views_[kind] : nullptr;
}

CQuorvelPage* CQuorvelDlg::Page(int kind) const {
    return kind == StandardKind || kind == GridKind ? pages_[kind].get() : nullptr;
}

void CQuorvelDlg::SelectTab(int position) { ui_->computeButton->setEnabled(position > 0); }

void CQuorvelDlg::Compute() {
    const int position = ui_->tabs->currentIndex();
    if (position == 0) {
        if (setup_.ui) setup_.ui->ShowPlain(kNotHereMessage, about_.title);
        return;
    }
    const int kind = PageKindAtTab(position, pages_[StandardKind] != nullptr,
                                   pages_[GridKind] != nullptr);
    if (kind == 0) return;
    setCursor(Qt::WaitCursor);
    pages_[kind]->Compute();
    unsetCursor();
}

void CQuorvelDlg::OpenHelp() {
    const QString file = Q(setup_.helpFile);
    const bool opened = QFileInfo::exists(file) &&
                        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    if (!opened && setup_.ui) {
        setup_.ui->ShowWarning("Impossible d'afficher l'aide " + setup_.helpFile +
                                   " : aucun navigateur n'a pu l'ouvrir.",
                               about_.title);
    }
}

void CQuorvelDlg::ShowAbout() {
    CAboutDlg box(about_, this);
    box.exec();
}

void CQuorvelDlg::SaveConfiguration() {
    PageSettings settings[3];
    const PageSettings* saved[3] = {nullptr, nullptr, nullptr};
    for (int kind : {StandardKind, GridKind}) {
        if (!pages_[kind]) continue;
        settings[kind] = pages_[kind]->Settings();
        saved[kind] = &settings[kind];
    }
    if (setup_.ui) setup_.app->SaveConfiguration(saved[StandardKind], saved[GridKind], *setup_.ui);
}

void CQuorvelDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Compute();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CQuorvelDlg::reject() {
    SaveConfiguration();
    if (setup_.releaseGrids) setup_.releaseGrids();
    QDialog::reject();
}

#include "ui/about.h"

#include <QFont>

#include "shared/profile.h"
#include "shared/string_resources.h"
#include "ui/emblem.h"
#include "ui_about_dlg.h"
#include "ui_about_page.h"

AboutTexts ReadAboutTexts(const std::string& file) {
    const std::string section = LoadString(IDS_SECTION_INFORMATIONS);
    AboutTexts t;
    t.title = GetProfileString(file, section, LoadString(IDS_KEY_TITRE), "", 80);
    t.standard = GetProfileString(file, section, LoadString(IDS_KEY_INFO_STANDARD), "", 780);
    t.grille = GetProfileString(file, section, LoadString(IDS_KEY_INFO_GRILLE), "", 780);
    t.copyright = GetProfileString(file, section, LoadString(IDS_KEY_COPYRIGHT), "", 260);
    t.version = GetProfileString(file, section, LoadString(IDS_KEY_VERSION), "", 260);
    return t;
}

CAboutPage::CAboutPage(const AboutTexts& texts, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::AboutPage>()) {
    ui_->setupUi(this);
    ui_->picture->setPixmap(DrawEmblem(128));
    ui_->description->setText(QString::fromStdString(texts.standard + "\n\n" + texts.grille));
    ui_->grilleText->setText(QString::fromStdString(texts.grille));
    ui_->grilleText->hide();
    ui_->copyright->setText(QString::fromStdString(texts.copyright));
    ui_->version->setText(QString::fromStdString(texts.version));
}

CAboutPage::~CAboutPage() = default;

QString CAboutPage::Description() const { return ui_->description->text(); }

CAboutDlg::CAboutDlg(const AboutTexts& texts, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::AboutDlg>()) {
    ui_->setupUi(this);
    ui_->picture->setPixmap(DrawEmblem(96));
    QFont titleFont(QStringLiteral("Comic Sans MS"));
    titleFont.setPixelSize(30);
    titleFont.setWeight(QFont::Bold);
    ui_->title->setFont(titleFont);
    ui_->title->setText(QString::fromStdString(texts.title));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(14);
    arial.setWeight(QFont::Normal);
    for (QLabel* label : {ui_->version, ui_->fixedText1, ui_->fixedText2}) label->setFont(arial);
    ui_->version->setText(QString::fromStdString(texts.version));
    connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

CAboutDlg::~CAboutDlg() = default;

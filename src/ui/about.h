#pragma once

#include <QDialog>
#include <QWidget>
#include <memory>
#include <string>

namespace Ui {
class AboutPage;
class AboutDlg;
}

// The texts of section INFORMATIONS shown by the two about windows.
struct AboutTexts {
    std::string title;
    std::string standard;
    std::string grille;
    std::string copyright;
    std::string version;
};
AboutTexts ReadAboutTexts(const std::string& configurationFile);

// The presentation page, first tab of the main window.
class CAboutPage : public QWidget {
    Q_OBJECT
public:
    CAboutPage(const AboutTexts& texts, QWidget* parent = nullptr);
    ~CAboutPage() override;
    QString Description() const;

private:
    std::unique_ptr<Ui::AboutPage> ui_;
};

// The about box reached from the window's menu.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const AboutTexts& texts, QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    std::unique_ptr<Ui::AboutDlg> ui_;
};

#include "ui/quorvel_page_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "pages/point_fields.h"
#include "shared/string_resources.h"
#include "ui_quorvel_page.h"

namespace {

// Object names of the side controls in the page form, after "source_" or "target_".
constexpr const char* kSideNames[static_cast<int>(SideControl::Count)] = {
    "system",           "type",             "projectionLabel",   "projection",
    "unitLabel",        "unit",             "meridianGroup",     "meridian",
    "eastWestGroup",    "northSouthGroup",  "xLabel",            "x",
    "yLabel",           "y",                "zLabel",            "z",
    "eLabel",           "e",                "nLabel",            "n",
    "lonLabel",         "latLabel",         "lonDegrees",        "lonMinutes",
    "lonSeconds",       "lonDecimalMinutes", "latDegrees",       "latMinutes",
    "latSeconds",       "latDecimalMinutes", "lonDegreesSymbol", "lonMinutesSymbol",
    "lonSecondsSymbol", "latDegreesSymbol", "latMinutesSymbol",  "latSecondsSymbol",
    "heightLabel",      "height",           "altitudeLabel",     "altitude",
    "convergenceLabel", "convergence",      "alterationLabel",   "alteration",
    "alterationUnit",   "fileGroup",        "fileName",          "browse",
    "formatLabel",      "format",
};

constexpr const char* kCommonNames[static_cast<int>(PageControl::Count)] = {
    "modeGroup",     "pointNameLabel",      "pointName",      "verticalGroup",
    "noVerticalRadio", "heightRadio",       "altitudeRadio",  "verticalSystemLabel",
    "verticalSystem", "alterationCheck",    "infoLine",       "conventionsLabel",
    "conventions",
};

struct Tooltip {
    const char* name;
    int id;
};

// Each control shows the string resource of its control id.
constexpr Tooltip kTooltips[] = {
    {"source_system", 1002},       {"target_system", 1003},      {"source_type", 1004},
    {"target_type", 1005},         {"source_projection", 1007},  {"target_projection", 1008},
    {"source_unit", 1012},         {"target_unit", 1013},        {"source_meridian", 1017},
    {"target_meridian", 1019},     {"source_east", 1018},        {"target_east", 1038},
    {"source_west", 1021},         {"target_west", 1039},        {"source_north", 1022},
    {"target_north", 1041},        {"source_south", 1023},       {"target_south", 1042},
    {"source_eastWestGroup", 1037}, {"infoLine", 1031},          {"pointName", 1118},
    {"noVerticalRadio", 1124},     {"heightRadio", 1125},        {"altitudeRadio", 1126},
    {"source_fileName", 1127},     {"source_browse", 1128},      {"target_fileName", 1129},
    {"target_browse", 1132},       {"source_format", 1135},      {"target_format", 1136},
    {"interactiveRadio", 1139},    {"fileRadio", 1140},          {"verticalSystem", 1142},
    {"source_x", 1050},            {"source_y", 1051},           {"source_z", 1052},
    {"source_e", 1056},            {"source_n", 1057},           {"source_altitude", 1058},
    {"source_lonDegrees", 1062},   {"source_height", 1064},      {"source_lonMinutes", 1069},
    {"source_lonSeconds", 1071},   {"source_latDegrees", 1073},  {"source_latMinutes", 1075},
    {"source_latSeconds", 1077},   {"source_lonDecimalMinutes", 1079},
    {"source_latDecimalMinutes", 1081}, {"target_x", 1083},      {"target_y", 1084},
    {"target_z", 1085},            {"target_e", 1089},           {"target_n", 1090},
    {"target_altitude", 1091},     {"target_height", 1095},      {"target_lonDegrees", 1099},
    {"target_lonMinutes", 1101},   {"target_lonSeconds", 1103},  {"target_latDegrees", 1105},
    {"target_latMinutes", 1107},   {"target_latSeconds", 1109},
    {"target_lonDecimalMinutes", 1111}, {"target_latDecimalMinutes", 1113},
    {"target_convergence", 1116},  {"target_alteration", 1117},
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

void Draw(QWidget* widget, const ControlState& state) {
    if (widget == nullptr) return;
    widget->setVisible(state.visible);
    widget->setEnabled(state.enabled);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != Q(state.text)) edit->setText(Q(state.text));
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        QStringList entries;
        for (const std::string& e : state.entries) entries << Q(e);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
        if (shown != entries) {
            list->clear();
            list->addItems(entries);
        }
        list->setCurrentIndex(list->findText(Q(state.text)));
    }
}

}  // namespace

QuorvelPageView::QuorvelPageView(CQuorvelPage& page, QWidget* parent)
    : QWidget(parent), page_(page), ui_(std::make_unique<Ui::QuorvelPage>()) {
    ui_->setupUi(this);
    for (int s = 0; s < 2; ++s) {
        const QString prefix = s == 0 ? QStringLiteral("source_") : QStringLiteral("target_");
        for (int c = 0; c < static_cast<int>(SideControl::Count); ++c) {
            side_[s][c] = findChild<QWidget*>(prefix + kSideNames[c]);
        }
    }
    for (int c = 0; c < static_cast<int>(PageControl::Count); ++c) {
        common_[c] = findChild<QWidget*>(kCommonNames[c]);
    }
    for (const Tooltip& t : kTooltips) {
        if (QWidget* w = findChild<QWidget*>(t.name)) w->setToolTip(Q(LoadString(t.id)));
    }
    ui_->pointName->setMaxLength(kPointNameMaxLength * 4);
    // A field keeps at least the width of Qt's usual field (17 characters:
    // any coordinate, point name or file name start reads whole), or its own
    // maximum for degrees and minutes. The window's minimum size follows, so
    // no field is ever squashed.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        edit->setMinimumWidth(std::min(edit->sizeHint().width(), edit->maximumWidth()));
    }
    Connect();
    page_.onChanged = [this] { Refresh(); };
}

QuorvelPageView::~QuorvelPageView() { page_.onChanged = nullptr; }

QRadioButton* QuorvelPageView::ModeRadio(int mode) const {
    return mode == 0 ? ui_->interactiveRadio : ui_->fileRadio;
}

QRadioButton* QuorvelPageView::VerticalRadio(int choice) const {
    if (choice == 0) return ui_->noVerticalRadio;
    return choice == 1 ? ui_->heightRadio : ui_->altitudeRadio;
}

QRadioButton* QuorvelPageView::WestRadio(PageSide side, bool west) const {
    if (side == SourceSide) return west ? ui_->source_west : ui_->source_east;
    return west ? ui_->target_west : ui_->target_east;
}

QRadioButton* QuorvelPageView::SouthRadio(PageSide side, bool south) const {
    if (side == SourceSide) return south ? ui_->source_south : ui_->source_north;
    return south ? ui_->target_south : ui_->target_north;
}

void QuorvelPageView::Connect() {
    for (int s = 0; s < 2; ++s) {
        const PageSide side = static_cast<PageSide>(s);
        for (SideControl list : {SideControl::System, SideControl::Type, SideControl::Projection,
                                 SideControl::Unit, SideControl::Meridian, SideControl::Format}) {
            auto* combo = qobject_cast<QComboBox*>(Widget(side, list));
            connect(combo, &QComboBox::activated, this, [this, side, list, combo](int index) {
                if (!refreshing_) page_.ChooseList(side, list, combo->itemText(index).toStdString());
            });
        }
        for (int c = 0; c < static_cast<int>(SideControl::Count); ++c) {
            auto* edit = qobject_cast<QLineEdit*>(side_[s][c]);
            if (edit == nullptr || edit->isReadOnly()) continue;
            const SideControl control = static_cast<SideControl>(c);
            connect(edit, &QLineEdit::textEdited, this, [this, side, control](const QString& text) {
                if (control == SideControl::FileName) {
                    page_.SetFileName(side, text.toStdString());
                } else {
                    page_.SetFieldText(side, control, text.toStdString());
                }
            });
        }
        connect(qobject_cast<QPushButton*>(Widget(side, SideControl::Browse)), &QPushButton::clicked,
                this, [this, side] { page_.Browse(side); });
        for (bool west : {false, true}) {
            connect(WestRadio(side, west), &QRadioButton::clicked, this,
                    [this, side, west] { page_.ChooseWest(side, west); });
            connect(SouthRadio(side, west), &QRadioButton::clicked, this,
                    [this, side, west] { page_.ChooseSouth(side, west); });
        }
    }
    connect(ui_->conventions, &QComboBox::activated, this, [this](int index) {
        if (!refreshing_) page_.ChooseInputConventions(ui_->conventions->itemText(index).toStdString());
    });
    connect(ui_->verticalSystem, &QComboBox::activated, this, [this](int index) {
        page_.ChooseVerticalSystem(ui_->verticalSystem->itemText(index).toStdString());
    });
    connect(ui_->pointName, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.SetPointName(text.toStdString()); });
    connect(ui_->interactiveRadio, &QRadioButton::clicked, this, [this] { page_.ChooseMode(0); });
    connect(ui_->fileRadio, &QRadioButton::clicked, this, [this] { page_.ChooseMode(1); });
    for (int choice = 0; choice < 3; ++choice) {
        connect(VerticalRadio(choice), &QRadioButton::clicked, this,
                [this, choice] { page_.ChooseVertical(choice); });
    }
    connect(ui_->alterationCheck, &QCheckBox::toggled, this,
            [this](bool on) { page_.SetAlterationFlag(on); });
}

void QuorvelPageView::Refresh() {
    refreshing_ = true;
    setUpdatesEnabled(false);
    for (int s = 0; s < 2; ++s) {
        const PageSide side = static_cast<PageSide>(s);
        for (int c = 0; c < static_cast<int>(SideControl::Count); ++c) {
            QWidget* w = side_[s][c];
            const ControlState& state = page_.State(side, static_cast<SideControl>(c));
            if (auto* label = qobject_cast<QLabel*>(w); label && c >= static_cast<int>(SideControl::LonDegreesSymbol) &&
                                                        c <= static_cast<int>(SideControl::LatSecondsSymbol)) {
                label->setText(Q(state.text));
            }
            Draw(w, state);
        }
        WestRadio(side, page_.West(side))->setChecked(true);
        SouthRadio(side, page_.South(side))->setChecked(true);
    }
    for (int c = 0; c < static_cast<int>(PageControl::Count); ++c) {
        Draw(common_[c], page_.State(static_cast<PageControl>(c)));
    }
    ModeRadio(page_.Mode())->setChecked(true);
    VerticalRadio(page_.Vertical())->setChecked(true);
    ui_->alterationCheck->setChecked(page_.AlterationFlag());
    const QString info = Q(page_.InfoLine());
    if (ui_->infoLine->toPlainText() != info) ui_->infoLine->setPlainText(info);
    setUpdatesEnabled(true);
    refreshing_ = false;
    if (auto focus = page_.TakeFocusRequest()) {
        if (auto* edit = qobject_cast<QLineEdit*>(Widget(focus->first, focus->second))) {
            edit->setFocus();
            edit->selectAll();
        }
    }
}

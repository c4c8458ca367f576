#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pages/page_settings.h"
#include "catalogue/catalogue.h"
#include "engine/coordinate.h"
#include "runs/window_file_run.h"

class UserInterface;

// The decisions of a computation page, without any drawing: the lists and
// their cascade from the catalogue, the filters, which controls are shown
// and enabled, the information line, the field checks, the record builder
// and the file checks before a run. The window draws this state and hands
// every user action to it; tests drive it directly.

enum PageSide : int { SourceSide = 0, TargetSide = 1 };

// Controls that exist once on each side of a page. Lists hold their entries
// and the remembered text; fields hold their text; labels that change hold
// their text too (the unit symbols).
enum class SideControl : int {
    System,
    Type,
    ProjectionLabel,
    Projection,
    UnitLabel,
    Unit,
    MeridianGroup,
    Meridian,
    EastWestGroup,
    NorthSouthGroup,
    XLabel,
    X,
    YLabel,
    Y,
    ZLabel,
    Z,
    ELabel,
    E,
    NLabel,
    N,
    LonLabel,
    LatLabel,
    LonDegrees,
    LonMinutes,
    LonSeconds,
    LonDecimalMinutes,
    LatDegrees,
    LatMinutes,
    LatSeconds,
    LatDecimalMinutes,
    LonDegreesSymbol,
    LonMinutesSymbol,
    LonSecondsSymbol,
    LatDegreesSymbol,
    LatMinutesSymbol,
    LatSecondsSymbol,
    HeightLabel,
    Height,
    AltitudeLabel,
    Altitude,
    ConvergenceLabel,  // the convergence and linear alteration are arrival results
    Convergence,
    AlterationLabel,
    Alteration,
    AlterationUnit,
    FileGroup,
    FileName,
    Browse,
    FormatLabel,
    Format,
    Count
};

// Controls that exist once on a page.
enum class PageControl : int {
    ModeGroup,
    PointNameLabel,
    PointName,
    VerticalGroup,
    NoVerticalRadio,
    HeightRadio,
    AltitudeRadio,
    VerticalSystemLabel,
    VerticalSystem,
    AlterationCheck,
    InfoLine,
    ConventionsLabel,  // the departure file's text conventions, in its file group
    Conventions,
    Count
};

struct ControlState {
    bool visible = true;
    bool enabled = true;
    std::string text;                  // field text, list selection, or label
    std::vector<std::string> entries;  // lists only, in alphabetical order
};

// The runs a page starts. The interactive run fills the arrival record and
// the last result; the file run does its own messages.
class PageRuns {
public:
    virtual ~PageRuns() = default;
    virtual void RunInteractive(int kind, CCoor& source, CCoor& target) = 0;
    virtual void RunFile(const FileRunRequest& request) = 0;
};

// What a page shares with the rest of the program.
struct PageContext {
    const Catalogue* catalogue = nullptr;
    UserInterface* ui = nullptr;
    CCoor* lastResult = nullptr;  // application-wide, shared by both pages
    PageRuns* runs = nullptr;
    std::string caption;          // caption of the page's message boxes
    // Folders that relative file names are taken from, each ending with "/"
    // (an empty one leaves the name relative to the current directory):
    // the data folder for the names and folders of the configuration, the
    // start folder for the names the user types, and the folder where an
    // output or report named in the configuration without a folder goes
    // (a folder the user can write to; the data folder when empty).
    std::string workingDirectory;
    std::string startDirectory;
    std::string outputDirectory;
};

// Orders list entries as the sorted drop-down lists do: without regard to
// case or accents first, then by the exact text.
bool ListOrder(const std::string& a, const std::string& b);

class CQuorvelPage {
public:
    CQuorvelPage(int kind, PageContext context);
    virtual ~CQuorvelPage() = default;

    int Kind() const { return kind_; }
    bool Ready() const { return ready_; }

    PageSettings Settings() const;
    void Restore(const PageSettings& settings);  // before Initialise

    // Fills the lists, restores the remembered choices and the mode.
    void Initialise();

    // User actions.
    void ChooseList(PageSide side, SideControl list, const std::string& text);
    void ChooseVerticalSystem(const std::string& text);
    void SetFieldText(PageSide side, SideControl field, const std::string& text);
    void SetPointName(const std::string& text);
    void SetFileName(PageSide side, const std::string& text);
    void ChooseMode(int mode);
    void ChooseVertical(int choice);
    void ChooseWest(PageSide side, bool west);
    void ChooseSouth(PageSide side, bool south);
    void SetAlterationFlag(bool on) { alterationFlag_ = on; }
    void Browse(PageSide side);
    // The departure file's text conventions: recognised from its first
    // lines, or a separator the user states (an entry of the list).
    void ChooseInputConventions(const std::string& text);
    // The conventions stated by the list's choice (none when recognised).
    StatedConventions StatedInputConventions() const;
    // The "C&alculer" action on this page.
    void Compute();

    // State for drawing.
    const ControlState& State(PageSide side, SideControl control) const {
        return side_[side][static_cast<int>(control)];
    }
    const ControlState& State(PageControl control) const {
        return common_[static_cast<int>(control)];
    }
    int Mode() const { return mode_; }
    int Vertical() const { return vertical_; }
    bool West(PageSide side) const { return west_[side]; }
    bool South(PageSide side) const { return south_[side]; }
    bool AlterationFlag() const { return alterationFlag_; }
    const std::string& InfoLine() const { return State(PageControl::InfoLine).text; }
    std::string FilePath(PageSide side) const { return path_[side]; }
    std::string Folder(PageSide side) const { return folder_[side]; }

    // The field that a refused check asks the window to focus, taken once.
    std::optional<std::pair<PageSide, SideControl>> TakeFocusRequest();
    // Called after every change of state so the window can redraw.
    std::function<void()> onChanged;

    // The field exchange: checks every shown field; on a refusal shows the
    // message, asks for the focus and returns false.
    bool CheckFields();
    // Builds the two records from the page values; shows a refusal and
    // returns 0, or returns 1.
    int BuildRecords(CCoor& source, CCoor& target);
    // The checks before a file run, which end in the run request or in nothing.
    std::optional<FileRunRequest> PrepareFileRun(const CCoor& source, const CCoor& target);

    // Shows the record in the arrival fields by its coordinate type.
    void DisplayResult(CCoor& target);
    // The precision sentence of the information line after a computation.
    void WritePrecisionSentence(const CCoor& source, const CCoor& target);
    // Whether the arrival fields show a result: from its display until a
    // departure input, the arrival system, type or projection changes, or
    // a computation is refused.
    bool ResultShown() const { return resultShown_; }

private:
    ControlState& SideState(PageSide side, SideControl c) { return side_[side][static_cast<int>(c)]; }
    ControlState& PageState(PageControl c) { return common_[static_cast<int>(c)]; }
    void Show(PageSide side, std::initializer_list<SideControl> controls, bool visible);
    void Enable(PageSide side, std::initializer_list<SideControl> controls, bool enabled);

    SideSettings<std::string> SideSettingsOf(PageSide side) const;
    void RestoreSide(PageSide side, const SideSettings<std::string>& settings);

    const CReg* SystemOf(PageSide side) const;
    int TypeOf(PageSide side) const;
    int UnitOf(PageSide side) const;
    const CLgo* MeridianOf(PageSide side) const;

    void Refill(PageSide side, SideControl list, std::vector<std::string> entries,
                const std::string& select);
    void FillSourceSystems();
    void FillTargetSystems();
    void FillVerticalSystems();
    void FillFormats(PageSide side);
    void OnSystemChanged(PageSide side);
    void OnTypeChanged(PageSide side);
    void OnUnitChanged(PageSide side, const std::string& previous);
    void OnTargetMeridianChanged(const std::string& previous);

    void LayoutSourceByType();
    void LayoutTargetByType();
    void LayoutAngles(PageSide side);
    void ApplyVertical(int choice);
    void ApplyVerticalAvailability();
    void ApplyTypeEnabling(PageSide side);
    void EnterInteractiveMode();
    void EnterFileMode();

    std::string FieldText(PageSide side, SideControl c) const { return State(side, c).text; }
    double FieldValue(PageSide side, SideControl c) const;
    void ShowLastResultAngles();
    // The texts and choices a shown result was computed from; the result is
    // cleared as soon as they differ.
    std::string InputsKey() const;
    bool ForgetStaleResult();
    void ClearResult();
    // The grid page between two systems that no translation grid joins:
    // says so and refuses the computation.
    bool RefusedForMissingGrid();
    // The folder a side's relative file name is taken from, and the full
    // path: see PageContext.
    std::string BaseFolder(PageSide side) const;
    std::string ResolvedPath(PageSide side) const;
    std::string SavedFolder(PageSide side) const;
    std::string ReportFolder() const;
    // What the departure file's first lines show, for the information line
    // ("\nFichier de départ : ..."), when they show more than
    // blank-separated ISO-8859-1 columns; "" otherwise.
    std::string InputConventionsInfo() const;
    void Changed();

    int kind_;
    PageContext context_;
    bool ready_ = false;
    int mode_ = 0;
    int vertical_ = 2;
    bool west_[2] = {false, false};
    bool south_[2] = {false, false};
    bool alterationFlag_ = false;
    std::array<std::array<ControlState, static_cast<int>(SideControl::Count)>, 2> side_;
    std::array<ControlState, static_cast<int>(PageControl::Count)> common_;
    std::string folder_[2];
    std::string path_[2];
    // Whether a side's file name is still the one the configuration gave.
    bool configuredName_[2] = {false, false};
    bool resultShown_ = false;
    std::string shownFor_;           // InputsKey of the shown result
    std::string precisionSentence_;  // the last precision sentence written
    std::string infoBeforeResult_;   // the information line it replaced
    std::string previousOutputPath_;
    std::string reportFile_;
    std::string reportFolder_;
    std::optional<std::pair<PageSide, SideControl>> focus_;
};

class CStandardPage : public CQuorvelPage {
public:
    explicit CStandardPage(PageContext context) : CQuorvelPage(StandardKind, std::move(context)) {}
};

class CGrillePage : public CQuorvelPage {
public:
    explicit CGrillePage(PageContext context) : CQuorvelPage(GridKind, std::move(context)) {}
};

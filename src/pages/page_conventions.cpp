#include "pages/page_parts.h"
#include "runs/convention_detection.h"
#include "runs/input_point_file.h"

// The departure file's text conventions on a page: the choice of the list,
// and what the file's first lines show, in the information line.

void CQuorvelPage::ChooseInputConventions(const std::string& text) {
    const auto& choices = kConventionChoices;
    if (std::find(std::begin(choices), std::end(choices), text) == std::end(choices)) return;
    PageState(PC::Conventions).text = text;
    if (!path_[SourceSide].empty()) {
        PageState(PC::InfoLine).text =
            FilesInfo(path_[SourceSide], path_[TargetSide]) + InputConventionsInfo();
    }
    Changed();
}

StatedConventions CQuorvelPage::StatedInputConventions() const {
    StatedConventions stated;
    const std::string& choice = State(PC::Conventions).text;
    const char separators[] = {'\0', '\0', ';', ',', '\t'};
    for (std::size_t i = 1; i < std::size(kConventionChoices); ++i) {
        if (choice == kConventionChoices[i]) {
            stated.separatorStated = true;
            stated.separator = separators[i];
        }
    }
    return stated;
}

std::string CQuorvelPage::InputConventionsInfo() const {
    const int format = DataFormatCode(FieldText(SourceSide, SC::Format));
    if (path_[SourceSide].empty() || format == 0) return "";
    In_Fic input(path_[SourceSide]);
    if (!input.IsOpen()) return "";
    input.dataFormat = format;
    const TextConventions conventions = RecogniseInputConventions(input, StatedInputConventions());
    if (conventions == TextConventions{}) return "";
    return "\nFichier de départ : " + ConventionsText(conventions);
}

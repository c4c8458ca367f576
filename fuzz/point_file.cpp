// A point file of arbitrary bytes read to its end in one layout (the first
// byte chooses among the fourteen) and one angle unit (the second byte), every
// point written back in the same layout, as a file run would. The third byte
// chooses the text conventions: today's, or those recognised from the first
// lines, with some stated (separator, decimal mark, title row, encoding).

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/coordinate.h"
#include "fuzz/fuzz_support.h"
#include "runs/convention_detection.h"
#include "runs/input_point_file.h"
#include "runs/output_point_file.h"

namespace {

const int kUnits[] = {1, 2, 3, 4, 5, 6, 10, 11, 12};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int layout = 6 + data[0] % 14;
    const int unit = kUnits[data[1] % 9];
    const unsigned choice = data[2];
    const std::string path = fuzz::WriteFile("points.txt", data + 3, size - 3);

    In_Fic input(path);
    input.dataFormat = layout;
    input.Compter_Lignes();
    Out_Fic output(fuzz::ScratchFolder() + "/sortie.txt");
    output.dataFormat = layout;
    output.header = (choice & 0x80) != 0;
    if (choice & 1) {
        StatedConventions stated;
        const char separators[] = {'\0', ';', ',', '\t'};
        stated.separatorStated = (choice & 2) != 0;
        stated.separator = separators[(choice >> 2) & 3];
        stated.decimalMarkStated = (choice & 16) != 0;
        stated.decimalMark = (choice & 32) ? ',' : '.';
        stated.titleRowStated = stated.titleRow = (choice & 64) != 0;
        const TextConventions conventions = RecogniseInputConventions(input, stated);
        if (conventions.Delimited() && conventions.separator == ',' &&
            conventions.decimalMark == ',')
            __builtin_trap();  // a comma cannot be both
        output.SetConventions(OutputConventionsOf(conventions));
    }
    // Every line gives one result and the end comes after the last: a reader
    // that went on longer would have lost its place in the file.
    bool ended = false;
    for (long long lines = 0; lines <= input.lineCount + 1 && !ended; ++lines) {
        CCoor point;
        point.unit = unit;
        point.type = layout <= 7 ? 1 : layout <= 15 ? 2 : 3;
        const std::string result = input.Lire_Point(point);
        if (result == "Fin") {
            ended = true;
            break;
        }
        if (result == "commentaires" || result == "ligne blanche") continue;
        output.Ecrire_Point(point, point, 1, result, true);
    }
    if (!ended) __builtin_trap();
    output.Ecrire_Fin("Fin");
    output.Close();
    return 0;
}

#include "batch/shell_options.h"

#include "batch/command_line.h"
#include "shared/codes.h"
#include "shared/labels.h"

namespace {

bool IsHelpOption(std::string_view option) { return option == "--help" || option == "-h"; }
bool IsListOption(std::string_view option) { return option == "--liste" || option == "--list"; }

ShellRequest Refused(const std::string& option, const std::string& text) {
    ShellRequest request;
    request.kind = ShellRequestKind::Refused;
    request.option = option;
    request.message = "quorvel : " + text + "\nVoir « quorvel --help ».\n";
    return request;
}

// One flag of the usage text: the flag with its values, then what it does,
// in a column; a description too long for the column starts on a line of
// its own.
void AddFlag(std::string& text, const std::string& usage, const std::string& meaning) {
    constexpr size_t kColumn = 24;
    std::string line = "  " + usage;
    if (line.size() + 1 > kColumn) {
        text += line + "\n";
        line.clear();
    }
    // The column counts characters, and usages are plain ASCII.
    line.resize(kColumn, ' ');
    text += line + meaning + "\n";
}

const char* const kFileExample = "ntf_lambert2e.txt";

}  // namespace

ShellRequest ParseShellRequest(const std::vector<std::string>& arguments) {
    ShellRequest request;
    if (arguments.empty()) return request;
    const std::string& option = arguments.front();
    const size_t values = arguments.size() - 1;
    if (IsHelpOption(option) || option == "--version") {
        if (values > 0) {
            return Refused(option, "l'option " + option + " ne prend aucune valeur (« " +
                                       arguments[1] + " » en trop).");
        }
        request.kind = IsHelpOption(option) ? ShellRequestKind::Help : ShellRequestKind::Version;
        request.option = option;
        return request;
    }
    if (IsListOption(option)) {
        if (values > 1) {
            return Refused(option, "l'option " + option +
                                       " prend au plus un système géodésique (« " +
                                       arguments[2] + " » en trop).");
        }
        request.kind = ShellRequestKind::List;
        request.option = option;
        request.systemGiven = values == 1;
        if (request.systemGiven) request.system = arguments[1];
        return request;
    }
    return request;
}

std::string VersionText() { return std::string("Quorvel ") + QUORVEL_VERSION + "\n"; }

std::string ShellQuoted(std::string_view text) {
    const std::string_view plain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+,:=@%";
    if (!text.empty() && text.find_first_not_of(plain) == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string UsageText(std::string_view examplesFolder) {
    const auto flag = [](int code) { return std::string("-") + FlagName(code); };
    std::string text =
        "Quorvel transforme des coordonnées de points entre systèmes géodésiques, types de\n"
        "coordonnées, projections, unités d'angle et méridiens origines, et entre hauteurs\n"
        "sur l'ellipsoïde et altitudes.\n"
        "\n"
        "UTILISATION\n"
        "  quorvel                 ouvre la fenêtre (pages « Transformation standard » et\n"
        "                          « Transformation grille »)\n"
        "  quorvel -mode 0|1 ...   transforme un point ou un fichier de points dans la console\n"
        "  quorvel --help, -h      affiche cette aide\n"
        "  quorvel --version       affiche le nom et la version du programme\n"
        "  quorvel --liste [SYSTEME]\n"
        "                          liste les systèmes géodésiques du catalogue, ou le seul\n"
        "                          SYSTEME (identifiant ou nom) ; aussi --list\n"
        "\n"
        "MODE CONSOLE\n"
        "  Chaque drapeau commence par un signe moins ; ses valeurs le suivent. Les\n"
        "  identifiants de systèmes, de projections, de méridiens et de systèmes\n"
        "  altimétriques sont ceux du catalogue (voir quorvel --liste). Un nombre décimal\n"
        "  s'écrit avec un point ou une virgule (600984.230 ou 600984,230). Les noms de\n"
        "  fichier sont pris depuis le dossier courant.\n"
        "\n";
    const std::string indent(24, ' ');
    AddFlag(text, flag(FlagMode) + " 0|1",
            "0 : un point donné sur la ligne de commande ;\n" + indent +
                "1 : un fichier de points");
    AddFlag(text, flag(FlagType) + " 1|2",
            std::string("1 : « ") + TransfoKindLabel(StandardKind) +
                " » (sept paramètres du catalogue) ;\n" + indent + "2 : « " +
                TransfoKindLabel(GridKind) + " » (grilles de translation et verticales)");
    AddFlag(text, flag(FlagSys1) + " ID", "système géodésique de départ");
    AddFlag(text, flag(FlagSys2) + " ID", "système géodésique d'arrivée");
    AddFlag(text, flag(FlagTypcoor1) + " TYPE [...]",
            "type de coordonnées de départ, suivi selon le type de :\n" + indent + "1 (" +
                CoordTypeLabel(Cartesian) + ") : rien\n" + indent + "2 (" +
                CoordTypeLabel(Geographic) + ") : UNITE MERIDIEN (unités ci-dessous)\n" +
                indent + "3 (" + CoordTypeLabel(Projected) + ") : PROJECTION");
    AddFlag(text, flag(FlagTypcoor2) + " TYPE [...]", "de même pour l'arrivée");
    AddFlag(text, flag(FlagAlt) + " GENRE ID",
            "composante verticale : GENRE 1 hauteur sur\n" + indent +
                "l'ellipsoïde, 2 altitude ; ID le système altimétrique");
    AddFlag(text, flag(FlagF1) + " N FICHIER",
            "mode 1 : format N (ci-dessous) et fichier de départ");
    AddFlag(text, flag(FlagF2) + " N FICHIER", "mode 1 : format N et fichier d'arrivée");
    AddFlag(text, flag(FlagX) + " X " + flag(FlagY) + " Y " + flag(FlagZ) + " Z",
            "mode 0 : coordonnées cartésiennes du point, en mètres");
    AddFlag(text, flag(FlagLon) + " L " + flag(FlagLat) + " P " + flag(FlagHe) + " H",
            "mode 0 : longitude et latitude dans l'unité de départ,\n" + indent +
                "hauteur sur l'ellipsoïde en mètres");
    AddFlag(text, flag(FlagE) + " E " + flag(FlagN) + " N " + flag(FlagH) + " H",
            "mode 0 : coordonnées planes et altitude, en mètres");
    AddFlag(text, flag(FlagVerbose),
            "détaille : « Ligne de commande validee. », et pour un\n" + indent +
                "fichier son en-tête, les colonnes de précision et la\n" + indent +
                "ligne de fin");
    AddFlag(text, flag(FlagInit) + " FICHIER", "fichier d'initialisation (noté, sans effet)");
    AddFlag(text, flag(FlagHelp) + " TEXTE",
            "affiche le rappel de syntaxe de la configuration\n" + indent + "(clé Console)");
    AddFlag(text, flag(FlagSep1) + " SEP",
            "mode 1 : séparateur des colonnes du fichier de départ :\n" + indent +
                "\";\" (ou pv), \",\" (ou virgule), tab, blancs");
    AddFlag(text, flag(FlagDec1) + " .|,", "mode 1 : marque décimale du fichier de départ");
    AddFlag(text, flag(FlagTitre1) + " [oui|non]",
            "mode 1 : la première ligne du fichier de départ\n" + indent +
                "nomme ses colonnes");
    AddFlag(text, flag(FlagEnc1) + " CODAGE",
            "mode 1 : codage du fichier de départ : latin1, utf8,\n" + indent +
                "utf8bom ; sans ces quatre drapeaux, reconnus\n" + indent +
                "sur ses premières lignes");
    AddFlag(text, flag(FlagThreads) + " N",
            "mode 1 : nombre de fils de calcul (0, par défaut :\n" + indent +
                "tous les cœurs)");
    text += "  Un nom de fichier \"-\" après -f1 ou -f2 désigne l'entrée ou la sortie\n"
            "  standard (les messages de la console vont alors sur l'erreur standard).\n";

    text += "\nFORMATS DES FICHIERS (numéro N de -f1 et -f2 selon le type de coordonnées)\n";
    for (int type : {Cartesian, Geographic, Projected}) {
        const std::span<const char* const> formats = FormatListOfType(type);
        text += "  " + std::to_string(type) + " " + CoordTypeLabel(type) + " :\n";
        for (size_t n = 1; n < formats.size(); ++n) {
            text += "      " + std::to_string(n) + "  " + formats[n] + "\n";
        }
    }

    text += "\nCODES DES UNITÉS D'ANGLE (type 2)\n";
    for (int unit = 1; unit <= 12; ++unit) {
        const std::string label = AngleUnitLabel(unit);
        if (label.empty()) continue;
        text += (unit < 10 ? "   " : "  ") + std::to_string(unit) + "  " + label + "\n";
    }

    text +=
        "\nSTATUT DE SORTIE\n"
        "  0  le calcul est allé à son terme (toute ligne du fichier de départ était un\n"
        "     point, un commentaire ou une ligne blanche)\n"
        "  1  la ligne de commande, un fichier ou un point a arrêté le calcul\n"
        "  2  le calcul est allé à son terme, mais des lignes du fichier de départ ont été\n"
        "     refusées (chacune est une ligne « * ERREUR!!! » du fichier d'arrivée)\n";

    std::string folder(examplesFolder);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    text +=
        "\nEXEMPLES\n"
        "  Le fichier d'exemple de points NTF en Lambert II étendu, transformé en RGF93\n"
        "  Lambert-93 (transformation standard) dans le fichier\n"
        "  ntf_lambert2e_vers_lambert93.txt du dossier courant :\n"
        "  quorvel -mode 1 -type 1 -sys1 1 -sys2 4 -typcoor1 3 27572 -typcoor2 3 2154 -f1 1 " +
        ShellQuoted(folder + kFileExample) + " -f2 1 ntf_lambert2e_vers_lambert93.txt -v\n" +
        "\n"
        "  Un point NTF Lambert II étendu (E, N, altitude) transformé en RGF93 Lambert-93 :\n"
        "  quorvel -mode 0 -type 1 -sys1 1 -sys2 4 -typcoor1 3 27572 -typcoor2 3 2154 "
        "-alt 2 -E 600984.230 -N 2428291.971 -H 35\n"
        "\n"
        "Le manuel : man quorvel ; la page d'aide : quorvel.html, dans le dossier de données.\n";
    return text;
}

#include <cstdio>

// Quorvel entry point. Start-up and the two modes grow in src/app.
int main(int argc, char** argv) {
    (void)argv;
    if (argc <= 1) {
        std::fprintf(stderr, "Le mode fenêtre n'est pas disponible dans cette version de Quorvel.\n");
        return 1;
    }
    std::printf("Quorvel\n");
    return 0;
}

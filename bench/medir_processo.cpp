// vph-bench-medir <program> [args...]: runs the program with its standard
// output thrown away and prints "<milliseconds> <peak resident KiB>" of it.

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "uso: vph-bench-medir <programa> [argumentos...]\n");
        return 2;
    }
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_addopen(&acoes, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto inicio = std::chrono::steady_clock::now();
    pid_t filho = 0;
    if (posix_spawn(&filho, argv[1], &acoes, nullptr, argv + 1, environ) != 0) {
        std::perror(argv[1]);
        return 2;
    }
    int estado = 0;
    rusage uso{};
    if (wait4(filho, &estado, 0, &uso) != filho) {
        std::perror("wait4");
        return 2;
    }
    const auto ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio)
            .count();
    if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0) {
        std::fprintf(stderr, "%s ended with status %d\n", argv[1], estado);
        return 1;
    }
    std::printf("%.1f %ld\n", ms, uso.ru_maxrss);
    return 0;
}

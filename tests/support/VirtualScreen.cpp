#include "tests/support/VirtualScreen.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

std::string Quote(const std::string& Text) {
    return "'" + Text + "'";
}

} // namespace

bool ToolAvailable(const std::string& Tool) {
    return std::system(("command -v " + Tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadTextFile(const std::string& Path) {
    std::ifstream In(Path);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

int RunDemoOnVirtualScreen(const std::string& Script, const std::string& Demo,
                           const std::string& Screenshot, const std::string& OutDir,
                           const std::string& Screen, int Seconds) {
    // xvfb-run -a searches upwards from here: tests running at once start
    // far apart.
    const std::size_t Seed = std::hash<std::string>{}(Demo) + std::size_t(getpid()) * 97 +
                             std::size_t(std::time(nullptr));
    const int Server = 1000 + int(Seed % 50000);
    const std::string Command =
        "env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=" + Quote(OutDir) + " timeout " +
        std::to_string(Seconds) + " xvfb-run -a -n " + std::to_string(Server) + " -e " +
        Quote(OutDir + "/xvfb-errors.txt") + " -s '-screen 0 " + Screen + "' " + Quote(Script) +
        " " + Quote(Demo) + " " + Quote(Screenshot) + " " + Quote(OutDir) + " </dev/null >" +
        Quote(OutDir + "/xvfb.txt") + " 2>&1";
    return std::system(Command.c_str());
}

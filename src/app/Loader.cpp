// The launcher: installs a staged program update when one is waiting (the
// online update stages none yet, so there is nothing to install), then
// starts the program beside it with the launch token first and the
// arguments it was given, as an argument vector. It replaces itself with
// the program, so whoever started it waits for the program's end.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr char kLaunchToken[] = "k2m5";
constexpr char kProgramName[] = "pavlora";

std::string ProgramFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string exe(path, static_cast<std::size_t>(length));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string program = ProgramFolder() + "/" + kProgramName;
    std::vector<char*> arguments;
    arguments.push_back(const_cast<char*>(program.c_str()));
    arguments.push_back(const_cast<char*>(kLaunchToken));
    // The program hands over with the token in front; a desktop entry or a
    // script starts the launcher without it.
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], kLaunchToken) == 0)
        first = 2;
    for (int i = first; i < argc; ++i)
        arguments.push_back(argv[i]);
    arguments.push_back(nullptr);
    ::execv(program.c_str(), arguments.data());
    std::fprintf(stderr, "Loader: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    return 127;
}

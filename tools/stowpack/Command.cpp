#include "Command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <unistd.h>

int UsageError(std::ostream& err, const std::string& message)
{
    err << "stowpack: " << message << "\nTry 'stowpack --help' for more information.\n";
    return kExitUsage;
}

int Failure(std::ostream& err, const std::string& message)
{
    err << "stowpack: " << message << "\n";
    return kExitFailure;
}

bool ReadInputFile(const std::string& path, std::string& contents, std::string& error)
{
    if (path == "-") {
        contents.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            error = "cannot read standard input";
            return false;
        }
        return true;
    }
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        error = "cannot read " + path + ": Is a directory";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path + ": " + strerror(errno);
        return false;
    }
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

bool WriteOutputFile(const std::string& path, const std::string& contents, std::string& error)
{
    if (path == "-") {
        std::cout.write(contents.data(), std::streamsize(contents.size()));
        std::cout.flush();
        if (!std::cout) {
            error = "cannot write standard output";
            return false;
        }
        return true;
    }
    std::string temporary = path + ".stowpack-" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot write " + path + ": " + strerror(errno);
            return false;
        }
        out.write(contents.data(), std::streamsize(contents.size()));
        out.close();
        if (!out) {
            error = "cannot write " + path;
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

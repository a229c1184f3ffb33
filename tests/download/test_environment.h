// What run_download_tests.py passes: the server's port and the work folder
// with the fixtures (data\) and the server's request log.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

inline std::string TestDirectory() { return std::getenv("VANTRY_TEST_DIR") ? std::getenv("VANTRY_TEST_DIR") : ""; }
inline std::string DataPath(const std::string& name) { return TestDirectory() + "\\data\\" + name; }
inline std::string ServerUrl(const std::string& path)
{
    return "http://127.0.0.1:" + std::string(std::getenv("VANTRY_TEST_PORT") ? std::getenv("VANTRY_TEST_PORT") : "0") +
           path;
}

inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

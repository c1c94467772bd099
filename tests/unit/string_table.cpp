#include "tests/unit/string_table.h"

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::map<int, std::string> LoadTable() {
    const std::string directory = QF_RESOURCE_DIR;
    std::map<std::string, int> ids;
    const std::string header = ReadFile(directory + "/resource.h");
    const std::regex define(R"(#define\s+(IDS_\w+)\s+(\d+))");
    for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
        ids[(*it)[1]] = std::stoi((*it)[2]);

    const std::string script = ReadFile(directory + "/qf862kui.rc");
    const size_t begin = script.find("STRINGTABLE");
    const size_t stop = script.find("\nEND", begin);
    const std::string table = script.substr(begin, stop == std::string::npos ? std::string::npos : stop - begin);
    std::map<int, std::string> texts;
    const std::regex entry(R"re(\n\s*(IDS_\w+|\d+)\s+"((?:[^"]|"")*)")re");
    for (std::sregex_iterator it(table.begin(), table.end(), entry), end; it != end; ++it) {
        const std::string key = (*it)[1];
        const auto named = ids.find(key);
        const bool number = std::isdigit(static_cast<unsigned char>(key[0])) != 0;
        const int id = named != ids.end() ? named->second : number ? std::stoi(key) : -1;
        std::string text = (*it)[2];
        for (size_t at = text.find("\"\""); at != std::string::npos; at = text.find("\"\"", at + 1)) text.erase(at, 1);
        texts[id] = text;
    }
    return texts;
}

}  // namespace

std::string StringTableText(int id) {
    static const std::map<int, std::string> table = LoadTable();
    const auto found = table.find(id);
    return found == table.end() ? std::string() : found->second;
}

#include "media/OptionText.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Trim(const std::string& s)
{
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    const auto b = std::find_if(s.begin(), s.end(), notSpace);
    const auto e = std::find_if(s.rbegin(), s.rend(), notSpace).base();
    return b < e ? std::string(b, e) : std::string();
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

} // namespace

OptionList ParseOptionLines(const std::string& text)
{
    std::string normal;
    normal.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 6, "<CRLF>") == 0 || text.compare(i, 6, "<crlf>") == 0) {
            normal += '\n';
            i += 6;
        } else {
            normal += text[i] == '\r' ? '\n' : text[i];
            ++i;
        }
    }
    OptionList out;
    size_t pos = 0;
    while (pos <= normal.size()) {
        size_t end = normal.find('\n', pos);
        if (end == std::string::npos) end = normal.size();
        const std::string line = Trim(normal.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            out.emplace_back(line, "1");
        } else {
            const std::string name = Trim(line.substr(0, eq));
            if (!name.empty()) out.emplace_back(name, Trim(line.substr(eq + 1)));
        }
    }
    return out;
}

bool OptionIsTrue(const std::string& value)
{
    const std::string v = Lower(Trim(value));
    return v == "1" || v == "true" || v == "yes" || v == "on";
}

bool TakeOption(OptionList& options, const std::string& name, std::string* value)
{
    bool found = false;
    for (auto it = options.begin(); it != options.end();) {
        if (Lower(it->first) == Lower(name)) {
            if (value) *value = it->second;
            found = true;
            it = options.erase(it);
        } else {
            ++it;
        }
    }
    return found;
}

#pragma once

#include <string>
#include <utility>
#include <vector>

using OptionList = std::vector<std::pair<std::string, std::string>>;

// "name=value" pairs, one per line; lines end with CR, LF, CRLF or the literal
// text "<CRLF>". Blanks around names and values are dropped, as are empty
// lines; a bare name stands for "name=1".
OptionList ParseOptionLines(const std::string& text);

// True for "1", "true", "yes", "on" (any case).
bool OptionIsTrue(const std::string& value);

// Takes the named option out of the list; returns whether it was there.
bool TakeOption(OptionList& options, const std::string& name, std::string* value = nullptr);

// A numbered text with its conversions ("%s", "%d", "%ld") filled in, in
// order, by values already turned into text; "%%" is a percent sign. Texts
// of the string tables go through here rather than through printf, so that
// a text with a conversion too many can never read beyond its values: a
// conversion without a value stays as it is.
#pragma once

#include <string>
#include <vector>

std::string fill_in(const std::string& format, const std::vector<std::string>& values);

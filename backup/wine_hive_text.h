// Wine writes a saved key as registry text, and its loader takes a damaged
// text as far as it can read it and reports success. This check finds the
// damage first: every line must be of the format's kinds, and the file must
// end where a line ends.
#pragma once
#include <string_view>

namespace backup {

// True when text is a complete Wine registry text ("WINE REGISTRY Version 2")
// whose every line is a comment, an option, a key header, a key attribute or
// a value with well-formed data. A file cut exactly at a line end can't be
// told from a shorter complete one.
bool isWellFormedWineHiveText(std::string_view text);

}  // namespace backup

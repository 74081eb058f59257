#pragma once

#include <optional>
#include <random>
#include <string>
#include <string_view>

// The names and info files of what goes into a Trash folder.
namespace twinsift::Trash::detail {

constexpr std::string_view infoSuffix = ".trashinfo";

// The name to try on the given attempt: the file's own first, then numbered,
// then random, always short enough for NAME.trashinfo.
std::string trashName(std::string_view name, unsigned attempt, std::size_t limit,
                      std::optional<std::mt19937_64> &random);

// The [Trash Info] text for a file that stood at path, dated now.
std::string infoText(std::string_view path);

// Writes info/NAME.trashinfo whole and synced, never over another. 0 when
// written; EEXIST when the name is taken; another errno when it failed, and
// then nothing is left behind.
int writeInfo(int info, const std::string &infoName, const std::string &text);

} // namespace twinsift::Trash::detail

#include "patch/PatchCommandLine.h"

namespace patch {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// Reads one argument starting at `*position` (not blank). Quoted arguments are never switches.
CommandLineResult ReadArgument(std::string_view line, size_t* position, std::string* argument, bool* quoted) {
  size_t start = *position;
  *quoted = line[start] == '"';
  if (*quoted) {
    size_t end = line.find('"', start + 1);
    if (end == std::string_view::npos)
      return CommandLineResult::kUnterminatedQuote;
    argument->assign(line.substr(start + 1, end - start - 1));
    *position = end + 1;
    return CommandLineResult::kOk;
  }
  size_t end = start;
  while (end < line.size() && !IsBlank(line[end]) && line[end] != '"')
    ++end;
  argument->assign(line.substr(start, end - start));
  *position = end;
  return CommandLineResult::kOk;
}

}  // namespace

CommandLineResult ParsePatchCommandLine(std::string_view line, PatchCommandLine* command) {
  PatchCommandLine parsed;
  int paths = 0;
  size_t position = 0;
  for (;;) {
    while (position < line.size() && IsBlank(line[position]))
      ++position;
    if (position >= line.size())
      break;
    std::string argument;
    bool quoted = false;
    CommandLineResult read = ReadArgument(line, &position, &argument, &quoted);
    if (read != CommandLineResult::kOk)
      return read;
    if (!quoted && !argument.empty() && argument[0] == '-')
      continue;  // a switch: none changes the work (see the header)
    if (argument.empty())
      return CommandLineResult::kEmptyPath;
    if (paths == 2)
      return CommandLineResult::kTooManyPaths;
    (paths++ == 0 ? parsed.patch_path : parsed.target_folder) = std::move(argument);
  }
  if (paths == 0)
    return CommandLineResult::kMissingPatchPath;
  if (paths == 1)
    return CommandLineResult::kMissingTargetFolder;
  *command = std::move(parsed);
  return CommandLineResult::kOk;
}

std::wstring JoinUnderFolder(const std::wstring& folder, const std::wstring& relative_name) {
  std::wstring path = folder;
  while (path.size() > 1 && IsSeparator(path.back()) && !(path.size() == 3 && path[1] == L':'))
    path.pop_back();
  if (!path.empty() && !IsSeparator(path.back()))
    path += L'\\';
  for (wchar_t c : relative_name)
    path += IsSeparator(c) ? L'\\' : c;
  return path;
}

}  // namespace patch

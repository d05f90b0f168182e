// One line of the patch maker's list file (batch mode): four fields separated by tabs,
//   <old file> TAB <new file> TAB <target name> TAB <output patch file>
// UTF-8 text. Blank lines and lines starting with '#' hold no job. A trailing carriage return is dropped.
#pragma once

#include <string>
#include <string_view>

namespace patchmaker {

struct PatchJob {
  std::string old_path;
  std::string new_path;
  std::string target_name;
  std::string output_path;
};

enum class ListLineResult {
  kJob = 0,    // `job` is filled
  kNoJob,      // blank or comment
  kMalformed,  // not four non-empty fields
};

ListLineResult ParsePatchListLine(std::string_view line, PatchJob* job);

}  // namespace patchmaker

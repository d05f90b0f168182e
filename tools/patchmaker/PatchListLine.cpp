#include "tools/patchmaker/PatchListLine.h"

namespace patchmaker {

ListLineResult ParsePatchListLine(std::string_view line, PatchJob* job) {
  if (!line.empty() && line.back() == '\r')
    line.remove_suffix(1);
  if (line.find_first_not_of(" \t") == std::string_view::npos || line.front() == '#')
    return ListLineResult::kNoJob;
  std::string* fields[] = {&job->old_path, &job->new_path, &job->target_name, &job->output_path};
  size_t start = 0;
  for (size_t i = 0; i < 4; ++i) {
    size_t end = line.find('\t', start);
    bool last = i == 3;
    if ((end == std::string_view::npos) != last)
      return ListLineResult::kMalformed;  // too few or too many fields
    if (last)
      end = line.size();
    if (end == start)
      return ListLineResult::kMalformed;
    fields[i]->assign(line.substr(start, end - start));
    start = end + 1;
  }
  return ListLineResult::kJob;
}

}  // namespace patchmaker

#include "handoff/copy_plan.h"

#include "disk/path_rules.h"

namespace {

bool IsNumber(WStringView text) {
  return !text.empty() && text.find_first_not_of(u"0123456789") == WStringView::npos;
}

}  // namespace

std::vector<PlannedCopy> PlanCopies(const std::vector<WString>& documents,
                                    const WString& incoming,
                                    const WString& staging,
                                    WStringView current,
                                    uint32_t process_id) {
  std::vector<PlannedCopy> plan;
  for (size_t i = 0; i < documents.size(); ++i) {
    if (documents[i].empty()) continue;
    WString source = documents[i];
    const bool valid = QualifyFile(source, current);
    const WString staged = staging + DecimalText(process_id) + u"-" + DecimalText(i) + u".part";
    plan.push_back({source, staged, incoming + (valid ? FileNameOf(source) : WString())});
  }
  return plan;
}

std::optional<uint32_t> StagingProcessOf(WStringView name) {
  const size_t dash = name.find(u'-');
  if (!name.ends_with(u".part") || dash == WStringView::npos) return std::nullopt;
  const WStringView process_id = name.substr(0, dash);
  const WStringView index = name.substr(dash + 1, name.size() - dash - 6);
  if (!IsNumber(process_id) || !IsNumber(index) || process_id.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (const WChar digit : process_id) value = value * 10 + (digit - u'0');
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(value);
}

#include "intake/selection_store.h"

namespace velmok {

std::vector<std::size_t> OwnSelection::Marked() const {
  std::vector<std::size_t> out;
  out.reserve(markedCount_);
  for (std::size_t i = 0; i < marks_.size() && out.size() < markedCount_; ++i)
    if (marks_[i]) out.push_back(i);
  return out;
}

void OwnSelection::SetMarked(std::size_t index, bool marked) {
  if (IsMarked(index) == marked) return;
  if (index >= marks_.size()) marks_.resize(index + 1);
  marks_[index] = marked;
  marked ? ++markedCount_ : --markedCount_;
}

void OwnSelection::MarkAll(std::size_t count, bool marked) {
  marks_.assign(count, marked);
  markedCount_ = marked ? count : 0;
}

void OwnSelection::MarkExactly(std::size_t count, const std::vector<std::size_t>& marked) {
  marks_.assign(count, false);
  markedCount_ = 0;
  for (const std::size_t i : marked)
    if (i < count) SetMarked(i, true);
}

}  // namespace velmok

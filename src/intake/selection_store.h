#pragma once
// Where the user's selection of print list entries is kept: the current entry and the selection
// marks. A list view that shows the print list keeps both itself (its focused item and its
// selected items), and the user changes them with every click and key, not always with a word to
// its owner. So the print list keeps no copy: it asks the view whenever a command needs them and
// changes them there, and what the program acts on cannot differ from what the view shows.
// Positions are those of the entries in the list's displayed order (0-based).

#include <cstddef>
#include <optional>
#include <vector>

namespace velmok {

class SelectionStore {
 public:
  virtual ~SelectionStore() = default;

  // The current entry; nullopt when there is none.
  virtual std::optional<std::size_t> Current() const = 0;
  virtual void SetCurrent(std::optional<std::size_t> index) = 0;

  virtual std::size_t MarkedCount() const = 0;
  virtual bool IsMarked(std::size_t index) const = 0;
  // The marked positions in order, in one pass.
  virtual std::vector<std::size_t> Marked() const = 0;
  virtual void SetMarked(std::size_t index, bool marked) = 0;
  // The list holds `count` entries now, every one of them marked or none.
  virtual void MarkAll(std::size_t count, bool marked) = 0;
  // The list holds `count` entries now, and exactly those at `marked` (in order) are marked.
  virtual void MarkExactly(std::size_t count, const std::vector<std::size_t>& marked) = 0;
};

// The selection of a list that no view shows (and of the tests).
class OwnSelection final : public SelectionStore {
 public:
  std::optional<std::size_t> Current() const override { return current_; }
  void SetCurrent(std::optional<std::size_t> index) override { current_ = index; }
  std::size_t MarkedCount() const override { return markedCount_; }
  bool IsMarked(std::size_t index) const override { return index < marks_.size() && marks_[index]; }
  std::vector<std::size_t> Marked() const override;
  void SetMarked(std::size_t index, bool marked) override;
  void MarkAll(std::size_t count, bool marked) override;
  void MarkExactly(std::size_t count, const std::vector<std::size_t>& marked) override;

 private:
  std::optional<std::size_t> current_;
  std::vector<bool> marks_;
  std::size_t markedCount_ = 0;
};

}  // namespace velmok

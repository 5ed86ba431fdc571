// Positions in the order the compiler reads the program, compared without
// building each entry's chain of include lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scan/source_set.h"

namespace pbz {

// The position of line L of set entry E is the sequence of include-statement
// lines from the main file down to E, followed by L; positions compare element
// by element, a sequence that starts a longer one first. Entries whose chains
// are equal share one node of a tree of chains (a trie keyed by include
// line), so a comparison needs the nodes' preorder numbers and, when one node
// lies above the other, the include line of the child on the way down: no
// chain is ever built, however deep the includes nest.
class CompileOrder {
 public:
  struct Position {
    std::uint32_t Node = 0;
    std::int64_t Line = 0;
  };

  explicit CompileOrder(const SourceSet& set);

  // An entry outside the set stands where the main file stands.
  Position At(std::size_t entry, std::int64_t line) const;
  // Whether a comes strictly before b.
  bool Before(const Position& a, const Position& b) const;

 private:
  bool Contains(std::uint32_t above, std::uint32_t below) const;
  // The include line of the child of `above` whose subtree holds `below`.
  std::int64_t LabelToward(std::uint32_t above, std::uint32_t below) const;

  std::vector<std::uint32_t> nodeOfEntry_;
  std::vector<std::int64_t> label_;        // per node: its include line
  std::vector<std::uint32_t> pre_;         // per node: preorder number
  std::vector<std::uint32_t> size_;        // per node: nodes in its subtree
  std::vector<std::uint32_t> childStart_;  // per node: first child in children_
  std::vector<std::uint32_t> children_;    // grouped by parent, by include line
};

}  // namespace pbz

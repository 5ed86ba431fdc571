#include "calls/all_calls_order.h"

#include <algorithm>
#include <map>
#include <utility>

namespace pbz {

CompileOrder::CompileOrder(const SourceSet& set) {
  // Node 0 is the main file's empty chain. Parents come before their
  // children in the set, so every parent has its node when a child needs it.
  std::map<std::pair<std::uint32_t, std::int64_t>, std::uint32_t> childOf;
  label_.push_back(0);
  nodeOfEntry_.assign(set.size(), 0);
  for (std::size_t e = 0; e < set.size(); ++e) {
    const std::size_t parent = set[e].Parent;
    // A main file or a broken link has the empty chain, as IncludeChain says.
    if (parent >= e) continue;
    const auto key = std::make_pair(nodeOfEntry_[parent], set[e].IncludeLine);
    auto found = childOf.find(key);
    if (found == childOf.end()) {
      found = childOf.emplace(key, static_cast<std::uint32_t>(label_.size())).first;
      label_.push_back(set[e].IncludeLine);
    }
    nodeOfEntry_[e] = found->second;
  }

  // The map is ordered by parent, then include line: the children lists come
  // out grouped and sorted.
  const std::size_t nodes = label_.size();
  childStart_.assign(nodes + 1, 0);
  for (const auto& link : childOf) ++childStart_[link.first.first + 1];
  for (std::size_t n = 0; n < nodes; ++n) childStart_[n + 1] += childStart_[n];
  children_.reserve(childOf.size());
  for (const auto& link : childOf) children_.push_back(link.second);

  // Preorder with children by ascending include line: the order of the
  // chains themselves. An explicit stack, since nesting can be deep.
  pre_.assign(nodes, 0);
  size_.assign(nodes, 1);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack;  // node, next child slot
  std::uint32_t counter = 0;
  pre_[0] = counter++;
  stack.emplace_back(0, childStart_[0]);
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    if (next < childStart_[node + 1]) {
      const std::uint32_t child = children_[next++];
      pre_[child] = counter++;
      stack.emplace_back(child, childStart_[child]);
    } else {
      const std::uint32_t done = node;
      stack.pop_back();
      if (!stack.empty()) size_[stack.back().first] += size_[done];
    }
  }
}

CompileOrder::Position CompileOrder::At(std::size_t entry, std::int64_t line) const {
  return Position{entry < nodeOfEntry_.size() ? nodeOfEntry_[entry] : 0, line};
}

bool CompileOrder::Contains(std::uint32_t above, std::uint32_t below) const {
  return pre_[above] <= pre_[below] && pre_[below] < pre_[above] + size_[above];
}

std::int64_t CompileOrder::LabelToward(std::uint32_t above, std::uint32_t below) const {
  // Children are in preorder order: the last one that starts at or before
  // `below` holds it.
  const auto first = children_.begin() + childStart_[above];
  const auto last = children_.begin() + childStart_[above + 1];
  const auto after = std::upper_bound(
      first, last, pre_[below], [this](std::uint32_t p, std::uint32_t c) { return p < pre_[c]; });
  return label_[*(after - 1)];
}

bool CompileOrder::Before(const Position& a, const Position& b) const {
  if (a.Node == b.Node) return a.Line < b.Line;
  // a's chain starts b's: a's line meets the include line that leads to b,
  // and a line equal to it makes a the shorter sequence, so a comes first.
  if (Contains(a.Node, b.Node)) return a.Line <= LabelToward(a.Node, b.Node);
  if (Contains(b.Node, a.Node)) return LabelToward(b.Node, a.Node) < b.Line;
  // Neither starts the other: the first differing include line decides,
  // which is what the preorder says.
  return pre_[a.Node] < pre_[b.Node];
}

}  // namespace pbz

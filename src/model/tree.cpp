#include "model/tree.h"

#include <algorithm>

#include "text/caption_order.h"

namespace velkor {

namespace {

std::vector<std::unique_ptr<Node>>& SiblingsOf(Tree& tree, Node* parent) {
  return parent ? parent->Children : tree.Roots;
}

void SortLevel(std::vector<std::unique_ptr<Node>>& nodes) {
  // Stable, so that nodes with equal captions keep the order they came in.
  std::stable_sort(nodes.begin(), nodes.end(), [](const auto& a, const auto& b) {
    return CaptionLess(a->Caption, b->Caption);
  });
}

void SortBelow(std::vector<std::unique_ptr<Node>>& nodes) {
  SortLevel(nodes);
  for (auto& n : nodes) SortBelow(n->Children);
}

void Visit(const std::vector<std::unique_ptr<Node>>& nodes, const std::function<void(Node&)>& visit) {
  for (const auto& n : nodes) {
    visit(*n);
    Visit(n->Children, visit);
  }
}

bool Contains(const Node& root, const Node* node) {
  if (&root == node) return true;
  for (const auto& c : root.Children)
    if (Contains(*c, node)) return true;
  return false;
}

}  // namespace

Node& AddNode(Tree& tree, Node* parent, std::string caption, std::unique_ptr<Element> owned) {
  auto node = std::make_unique<Node>();
  node->Caption = std::move(caption);
  node->Owned = std::move(owned);
  node->Data = node->Owned.get();
  node->Parent = parent;
  auto& siblings = SiblingsOf(tree, parent);
  siblings.push_back(std::move(node));
  return *siblings.back();
}

Node& AddMirrorNode(Tree& tree, Node* parent, std::string caption, Element* shown) {
  Node& node = AddNode(tree, parent, std::move(caption), nullptr);
  node.Data = shown;
  return node;
}

std::unique_ptr<Node> DetachNode(Tree& tree, Node& node) {
  auto& siblings = SiblingsOf(tree, node.Parent);
  auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& p) { return p.get() == &node; });
  if (it == siblings.end()) return nullptr;
  std::unique_ptr<Node> out = std::move(*it);
  siblings.erase(it);
  if (tree.Selected && Contains(*out, tree.Selected)) tree.Selected = nullptr;
  return out;
}

void SortChildren(Tree& tree, Node* node) { SortLevel(SiblingsOf(tree, node)); }

void SortTree(Tree& tree) { SortBelow(tree.Roots); }

void ForEachNode(const Tree& tree, const std::function<void(Node&)>& visit) { Visit(tree.Roots, visit); }

std::vector<Node*> NodesInIndexOrder(const Tree& tree) {
  std::vector<Node*> out;
  ForEachNode(tree, [&](Node& n) { out.push_back(&n); });
  return out;
}

int CountNodes(const Tree& tree) {
  int count = 0;
  ForEachNode(tree, [&](Node&) { ++count; });
  return count;
}

Node* FindNodeOf(const Tree& tree, const void* object) {
  if (!object) return nullptr;
  Node* found = nullptr;
  ForEachNode(tree, [&](Node& n) {
    if (!found && n.Data && ElementObject(*n.Data) == object) found = &n;
  });
  return found;
}

}  // namespace velkor

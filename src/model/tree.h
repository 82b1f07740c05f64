#pragma once
// The two trees of a database. A node carries at most one element; the node
// that owns it is in the hardware tree (or, for groups and users, the rooms
// tree). A zone, SET input or TM input of a group is shown by a second node
// in the rooms tree that points to the same object without owning it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/elements.h"

namespace velkor {

struct Node {
  std::string Caption;              // Windows-1251
  std::unique_ptr<Element> Owned;   // set when this node owns its element
  Element* Data = nullptr;          // the element shown here, owned or not
  Node* Parent = nullptr;
  std::vector<std::unique_ptr<Node>> Children;
  bool Expanded = false;

  template <class T>
  T* As() const {
    return Data ? std::get_if<T>(Data) : nullptr;
  }
};

struct Tree {
  std::vector<std::unique_ptr<Node>> Roots;
  Node* Selected = nullptr;

  bool Empty() const { return Roots.empty(); }
  void Clear() {
    Selected = nullptr;
    Roots.clear();
  }
};

// Adds a node under parent (a root when parent is null) at the end of its
// siblings. With `owned` the node owns the element; with `shown` it points to
// an element another node owns.
Node& AddNode(Tree& tree, Node* parent, std::string caption, std::unique_ptr<Element> owned);
Node& AddMirrorNode(Tree& tree, Node* parent, std::string caption, Element* shown);

// Removes a node and everything below it; returns the freed subtree.
std::unique_ptr<Node> DetachNode(Tree& tree, Node& node);

// Sorts the children of one node by caption (roots when node is null).
void SortChildren(Tree& tree, Node* node);
// Sorts every level of the tree.
void SortTree(Tree& tree);

// Visits every node top to bottom through all levels: a node before its
// children, the order of the tree view's absolute index.
void ForEachNode(const Tree& tree, const std::function<void(Node&)>& visit);
std::vector<Node*> NodesInIndexOrder(const Tree& tree);
int CountNodes(const Tree& tree);

// The node showing the element object (first in index order), or null.
Node* FindNodeOf(const Tree& tree, const void* object);

// Makes an element of class T with its constructor arguments.
template <class T, class... Args>
std::unique_ptr<Element> MakeElement(Args&&... args) {
  return std::make_unique<Element>(std::in_place_type<T>, std::forward<Args>(args)...);
}

}  // namespace velkor

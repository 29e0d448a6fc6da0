#include "fakes/fake_file_system.h"

#include <algorithm>

namespace wh::testing {

std::string FakeFileSystem::Normal(const std::string& path) const {
  std::string p = path;
  while (p.size() > 1 && p.back() == separator_) p.pop_back();
  return p;
}

std::string FakeFileSystem::Parent(const std::string& normal) const {
  auto pos = normal.rfind(separator_);
  if (pos == std::string::npos) return {};
  return normal.substr(0, pos == 0 ? 1 : pos);
}

std::string FakeFileSystem::Leaf(const std::string& normal) const {
  auto pos = normal.rfind(separator_);
  return pos == std::string::npos ? normal : normal.substr(pos + 1);
}

FakeFileSystem::Node* FakeFileSystem::Insert(const std::string& normal, bool isDirectory) {
  auto found = nodes_.find(normal);
  if (found != nodes_.end()) return &found->second;
  std::string parent = Parent(normal);
  if (!parent.empty() && parent != normal) {
    Node* p = Insert(parent, true);
    p->children.push_back(Leaf(normal));
  }
  Node& node = nodes_[normal];
  node.isDirectory = isDirectory;
  node.id = nextId_++;
  return &node;
}

void FakeFileSystem::AddDirectory(const std::string& path) { Insert(Normal(path), true); }

void FakeFileSystem::AddFile(const std::string& path, std::string contents) {
  Insert(Normal(path), false)->contents = std::move(contents);
}

void FakeFileSystem::AddDirectoryLink(const std::string& path, const std::string& target) {
  Node* node = Insert(Normal(path), true);
  node->linkTarget = Normal(target);
}

void FakeFileSystem::Remove(const std::string& path) {
  std::string normal = Normal(path);
  nodes_.erase(normal);
  auto parent = nodes_.find(Parent(normal));
  if (parent != nodes_.end()) {
    auto& c = parent->second.children;
    c.erase(std::remove(c.begin(), c.end(), Leaf(normal)), c.end());
  }
}

const FakeFileSystem::Node* FakeFileSystem::Resolve(const std::string& normal,
                                                    std::string* resolved) const {
  // Resolve links in every component, so paths through a link work too.
  std::string current;
  std::size_t start = 0;
  const Node* node = nullptr;
  while (start <= normal.size()) {
    std::size_t end = normal.find(separator_, start);
    if (end == std::string::npos) end = normal.size();
    std::string part = normal.substr(start, end - start);
    if (current.empty() && start == 0) {
      current = part.empty() ? std::string(1, separator_) : part;
    } else if (!part.empty()) {
      if (current.size() > 1 || current[0] != separator_) current += separator_;
      current += part;
    }
    auto found = nodes_.find(current);
    if (found == nodes_.end()) return nullptr;
    node = &found->second;
    for (int hops = 0; !node->linkTarget.empty() && hops < 40; ++hops) {
      current = node->linkTarget;
      found = nodes_.find(current);
      if (found == nodes_.end()) return nullptr;
      node = &found->second;
    }
    start = end + 1;
  }
  if (resolved) *resolved = current;
  return node;
}

bool FakeFileSystem::ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                                   std::optional<DirectoryId>* id) const {
  std::string resolved;
  const Node* node = Resolve(Normal(dir), &resolved);
  if (!node || !node->isDirectory || unreadable_.count(resolved)) return false;
  ++listings_;
  if (id) *id = DirectoryId{1, node->id};
  sink(".", true);
  sink("..", true);
  for (const std::string& child : node->children) {
    std::string childPath = resolved;
    if (childPath.back() != separator_) childPath += separator_;
    childPath += child;
    const Node* c = Resolve(childPath);
    sink(child, c ? c->isDirectory : false);
  }
  return true;
}

bool FakeFileSystem::DirectoryExists(const std::string& path) const {
  const Node* node = Resolve(Normal(path));
  return node && node->isDirectory;
}

bool FakeFileSystem::FileExists(const std::string& path) const {
  const Node* node = Resolve(Normal(path));
  return node && !node->isDirectory;
}

std::optional<std::string> FakeFileSystem::Contents(const std::string& path) const {
  const Node* node = Resolve(Normal(path));
  if (!node || node->isDirectory) return std::nullopt;
  return node->contents;
}

std::optional<std::string> FakeFileSystem::ReadWholeFile(const std::string& path,
                                                         std::size_t maxBytes) const {
  std::string resolved;
  const Node* node = Resolve(Normal(path), &resolved);
  if (!node || node->isDirectory || unreadable_.count(resolved)) return std::nullopt;
  if (node->contents.size() > maxBytes) return std::nullopt;
  return node->contents;
}

void FakeFileSystem::WriteFileReplacing(const std::string& path, std::string_view contents) const {
  std::string normal = Normal(path);
  if (readOnly_.count(normal) || readOnly_.count(Parent(normal))) throw FileWriteError{path};
  std::string resolved;
  const Node* parent = Resolve(Parent(normal), &resolved);
  if (!parent || !parent->isDirectory) throw FileWriteError{path};
  const Node* existing = Resolve(normal);
  if (existing && existing->isDirectory) throw FileWriteError{path};
  auto* self = const_cast<FakeFileSystem*>(this);
  self->Insert(normal, false)->contents = std::string(contents);
  ++writes_;
}

bool FakeFileSystem::MakeDirectories(const std::string& dir) const {
  const std::string normal = Normal(dir);
  if (Resolve(normal) != nullptr) return DirectoryExists(normal);
  std::string existing = Parent(normal);
  while (!existing.empty() && Resolve(existing) == nullptr) existing = Parent(existing);
  if (readOnly_.count(existing) != 0) return false;
  const_cast<FakeFileSystem*>(this)->Insert(normal, true);
  return true;
}

}  // namespace wh::testing

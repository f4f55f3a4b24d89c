#include "platform/emulated_file_system.h"

#include <algorithm>

#include "platform/platform.h"

struct EmulatedFileSystem::Node {
  bool directory = true;
  WString name;
  std::string data;
  bool deny_enter = false;
  bool deny_write = false;
  std::map<WString, std::unique_ptr<Node>> children;  // by folded name
};

struct EmulatedFileSystem::Resolved {
  uint32_t error = 0;
  WString root;                     // "C:" or "\\server\share" as spelled
  std::vector<WString> components;  // below the root
  WString Full() const {
    WString full = root;
    if (components.empty()) return full + u"\\";
    for (const WString& c : components) full += u"\\" + c;
    return full;
  }
};

WChar FoldCase(WChar c) {
  if (c >= u'a' && c <= u'z') return static_cast<WChar>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<WChar>(c - 32);
  if (c >= 0x430 && c <= 0x44F) return static_cast<WChar>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<WChar>(c - 80);
  return c;
}

WString FoldCase(WStringView text) {
  WString out(text);
  for (WChar& c : out) c = FoldCase(c);
  return out;
}

namespace {

bool IsSeparator(WChar c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(WChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool HasInvalidCharacter(const WString& name) {
  for (WChar c : name) {
    if (c < 0x20) return true;
    switch (c) {
      case u'<': case u'>': case u':': case u'"': case u'|': case u'?': case u'*':
        return true;
      default:
        break;
    }
  }
  return false;
}

// Windows drops trailing dots and spaces from every name it resolves.
WString TrimName(const WString& name) {
  if (name == u"." || name == u"..") return name;
  size_t end = name.size();
  while (end > 0 && (name[end - 1] == u'.' || name[end - 1] == u' ')) --end;
  return name.substr(0, end);
}

std::vector<WString> SplitComponents(WStringView text) {
  std::vector<WString> parts;
  WString current;
  for (WChar c : text) {
    if (IsSeparator(c)) {
      parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  parts.push_back(current);
  return parts;
}

}  // namespace

EmulatedFileSystem::EmulatedFileSystem() { AddDrive(u'C'); }
EmulatedFileSystem::~EmulatedFileSystem() = default;

void EmulatedFileSystem::AddDrive(WChar letter) {
  WString root{FoldCase(letter), u':'};
  if (!roots_.count(root)) {
    auto node = std::make_unique<Node>();
    node->name = root;
    roots_[root] = std::move(node);
  }
}

void EmulatedFileSystem::AddShare(const WString& server, const WString& share) {
  WString root = u"\\\\" + server + u"\\" + share;
  WString key = FoldCase(root);
  if (!roots_.count(key)) {
    auto node = std::make_unique<Node>();
    node->name = root;
    roots_[key] = std::move(node);
  }
}

EmulatedFileSystem::Resolved EmulatedFileSystem::Resolve(WStringView input, const WString& current) const {
  Resolved r;
  WString path(input);
  if (path.rfind(u"\\\\?\\UNC\\", 0) == 0) {
    path = u"\\\\" + path.substr(8);
  } else if (path.rfind(u"\\\\?\\", 0) == 0) {
    path = path.substr(4);
  }
  if (path.empty()) {
    r.error = err::kPathNotFound;
    return r;
  }
  WString rest;
  auto root_of = [](const WString& full) -> WString {
    if (full.size() >= 2 && full[1] == u':') return full.substr(0, 2);
    if (full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1])) {
      size_t server_end = full.find_first_of(u"\\/", 2);
      if (server_end == WString::npos) return full;
      size_t share_end = full.find_first_of(u"\\/", server_end + 1);
      return share_end == WString::npos ? full : full.substr(0, share_end);
    }
    return WString();
  };
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    size_t server_end = path.find_first_of(u"\\/", 2);
    if (server_end == WString::npos || server_end == 2) {
      r.error = server_end == 2 ? err::kInvalidName : 161;  // ERROR_BAD_PATHNAME
      return r;
    }
    size_t share_end = path.find_first_of(u"\\/", server_end + 1);
    WString share = path.substr(server_end + 1, share_end == WString::npos ? WString::npos : share_end - server_end - 1);
    if (share.empty()) {
      r.error = 161;
      return r;
    }
    r.root = u"\\\\" + path.substr(2, server_end - 2) + u"\\" + share;
    rest = share_end == WString::npos ? WString() : path.substr(share_end);
  } else if (path.size() >= 2 && path[1] == u':' && IsDriveLetter(path[0])) {
    // The letter keeps the case it was given, as in the current directory.
    r.root = WString{path[0], u':'};
    rest = path.substr(2);
    if (rest.empty() || !IsSeparator(rest[0])) {
      // Drive-relative: against the current directory when it is on that drive.
      if (FoldCase(root_of(current)) == FoldCase(r.root)) {
        r.root = root_of(current);
        rest = current.substr(2) + u"\\" + rest;
      } else {
        rest = u"\\" + rest;
      }
    }
  } else if (IsSeparator(path[0])) {
    r.root = root_of(current);
    rest = path;
  } else {
    r.root = root_of(current);
    rest = current.substr(r.root.size()) + u"\\" + path;
  }
  for (const WString& raw : SplitComponents(rest)) {
    WString name = TrimName(raw);
    if (raw.empty() || name == u".") continue;
    if (name == u"..") {
      if (!r.components.empty()) r.components.pop_back();
      continue;
    }
    if (name.empty()) continue;
    r.components.push_back(name);
  }
  for (const WString& name : r.components) {
    if (HasInvalidCharacter(name)) {
      r.error = err::kInvalidName;
      break;
    }
  }
  return r;
}

EmulatedFileSystem::Node* EmulatedFileSystem::Root(const Resolved& r) const {
  auto it = roots_.find(FoldCase(r.root));
  return it == roots_.end() ? nullptr : it->second.get();
}

EmulatedFileSystem::Node* EmulatedFileSystem::Parent(const Resolved& r, uint32_t* error) const {
  if (r.error) {
    *error = r.error;
    return nullptr;
  }
  Node* node = Root(r);
  if (!node) {
    *error = r.root.size() > 2 ? err::kBadNetPath : err::kPathNotFound;
    return nullptr;
  }
  for (size_t i = 0; i + 1 < r.components.size(); ++i) {
    auto it = node->children.find(FoldCase(r.components[i]));
    if (it == node->children.end() || !it->second->directory) {
      *error = err::kPathNotFound;
      return nullptr;
    }
    node = it->second.get();
  }
  *error = 0;
  return node;
}

EmulatedFileSystem::Node* EmulatedFileSystem::Lookup(const Resolved& r, uint32_t* error) const {
  if (r.components.empty()) {
    if (r.error) {
      *error = r.error;
      return nullptr;
    }
    Node* root = Root(r);
    *error = root ? 0 : (r.root.size() > 2 ? err::kBadNetPath : err::kPathNotFound);
    return root;
  }
  Node* parent = Parent(r, error);
  if (!parent) return nullptr;
  auto it = parent->children.find(FoldCase(r.components.back()));
  if (it == parent->children.end()) {
    *error = err::kFileNotFound;
    return nullptr;
  }
  return it->second.get();
}

WString EmulatedFileSystem::FullPath(WStringView path, const WString& current, uint32_t* error) const {
  Resolved r = Resolve(path, current);
  if (error) *error = r.error;
  return r.error ? WString() : r.Full();
}

bool EmulatedFileSystem::MakeDirectories(WStringView path) {
  Resolved r = Resolve(path, u"C:\\");
  if (r.error) return false;
  Node* node = Root(r);
  if (!node) {
    if (r.root.size() != 2) return false;
    AddDrive(r.root[0]);
    node = Root(r);
  }
  for (const WString& name : r.components) {
    auto& slot = node->children[FoldCase(name)];
    if (!slot) {
      slot = std::make_unique<Node>();
      slot->name = name;
    }
    if (!slot->directory) return false;
    node = slot.get();
  }
  return true;
}

bool EmulatedFileSystem::WriteFile(WStringView path, std::string bytes) {
  Resolved r = Resolve(path, u"C:\\");
  if (r.error || r.components.empty()) return false;
  Resolved parent = r;
  parent.components.pop_back();
  if (!MakeDirectories(parent.Full())) return false;
  uint32_t error = 0;
  Node* dir = Lookup(parent, &error);
  auto& slot = dir->children[FoldCase(r.components.back())];
  if (slot && slot->directory) return false;
  if (!slot) {
    slot = std::make_unique<Node>();
    slot->name = r.components.back();
    slot->directory = false;
  }
  slot->data = std::move(bytes);
  return true;
}

std::optional<std::string> EmulatedFileSystem::ReadFileBytes(WStringView path) const {
  uint32_t error = 0;
  Node* node = Lookup(Resolve(path, u"C:\\"), &error);
  if (!node || node->directory) return std::nullopt;
  return node->data;
}

bool EmulatedFileSystem::IsDirectory(WStringView path) const {
  uint32_t error = 0;
  Node* node = Lookup(Resolve(path, u"C:\\"), &error);
  return node && node->directory;
}

bool EmulatedFileSystem::IsFile(WStringView path) const {
  uint32_t error = 0;
  Node* node = Lookup(Resolve(path, u"C:\\"), &error);
  return node && !node->directory;
}

std::vector<WString> EmulatedFileSystem::List(WStringView path) const {
  std::vector<WString> names;
  uint32_t error = 0;
  Node* node = Lookup(Resolve(path, u"C:\\"), &error);
  if (!node || !node->directory) return names;
  for (const auto& [key, child] : node->children) names.push_back(child->name);
  return names;
}

std::optional<WString> EmulatedFileSystem::Spelling(WStringView path) const {
  Resolved r = Resolve(path, u"C:\\");
  uint32_t error = 0;
  Node* node = Root(r);
  if (r.error || !node) return std::nullopt;
  WString spelled = node->name;
  for (const WString& name : r.components) {
    auto it = node->children.find(FoldCase(name));
    if (it == node->children.end()) return std::nullopt;
    node = it->second.get();
    spelled += u"\\" + node->name;
  }
  (void)error;
  return spelled;
}

void EmulatedFileSystem::DenyEnter(WStringView path, bool deny) {
  uint32_t error = 0;
  if (Node* node = Lookup(Resolve(path, u"C:\\"), &error)) node->deny_enter = deny;
}

void EmulatedFileSystem::DenyWrite(WStringView path, bool deny) {
  uint32_t error = 0;
  if (Node* node = Lookup(Resolve(path, u"C:\\"), &error)) node->deny_write = deny;
}

uint32_t EmulatedFileSystem::EnterDirectory(WStringView path, const WString& current, WString* full) const {
  if (path.empty()) return err::kInvalidName;
  Resolved r = Resolve(path, current);
  uint32_t error = 0;
  Node* node = Lookup(r, &error);
  if (!node) return error;
  // A file named as a folder (with a trailing separator) is a malformed name.
  if (!node->directory) return IsSeparator(path.back()) ? err::kInvalidName : err::kDirectory;
  if (node->deny_enter) return err::kAccessDenied;
  WString text = r.Full();
  // The current directory, with its trailing separator, must fit MAX_PATH.
  size_t with_separator = text.size() + (text.back() == u'\\' ? 0 : 1);
  if (with_separator >= kMaxPath) return err::kFilenameExcedRange;
  if (text.size() > 3 && text.back() == u'\\') text.pop_back();
  *full = text;
  return 0;
}

uint32_t EmulatedFileSystem::CreateDirectory(WStringView path, const WString& current) {
  Resolved r = Resolve(path, current);
  if (r.error) return r.error;
  if (r.components.empty()) return Root(r) ? err::kAccessDenied : err::kPathNotFound;
  uint32_t error = 0;
  Node* parent = Parent(r, &error);
  if (!parent) return error;
  WString key = FoldCase(r.components.back());
  if (parent->children.count(key)) return err::kAlreadyExists;
  if (parent->deny_write) return err::kAccessDenied;
  auto node = std::make_unique<Node>();
  node->name = r.components.back();
  parent->children[key] = std::move(node);
  return 0;
}

uint32_t EmulatedFileSystem::CopyFile(WStringView source, WStringView target, const WString& current,
                                      bool fail_if_exists) {
  uint32_t error = 0;
  Node* from = Lookup(Resolve(source, current), &error);
  if (!from) return error;
  if (from->directory) return err::kAccessDenied;
  Resolved to = Resolve(target, current);
  if (to.error) return to.error;
  if (to.components.empty()) return err::kAccessDenied;
  Node* parent = Parent(to, &error);
  if (!parent) return error;
  WString key = FoldCase(to.components.back());
  auto it = parent->children.find(key);
  if (it != parent->children.end()) {
    if (it->second.get() == from) return err::kSharingViolation;  // the source is open for reading
    if (it->second->directory) return err::kAccessDenied;
    if (fail_if_exists) return err::kFileExists;
    if (parent->deny_write) return err::kAccessDenied;
    it->second->data = from->data;
    return 0;
  }
  if (parent->deny_write) return err::kAccessDenied;
  auto node = std::make_unique<Node>();
  node->directory = false;
  node->name = to.components.back();
  node->data = from->data;
  parent->children[key] = std::move(node);
  return 0;
}

uint32_t EmulatedFileSystem::DeleteFile(WStringView path, const WString& current) {
  uint32_t error = 0;
  Resolved resolved = Resolve(path, current);
  Node* parent = resolved.error || resolved.components.empty() ? nullptr : Parent(resolved, &error);
  if (!parent) return resolved.error ? resolved.error : error ? error : err::kAccessDenied;
  auto it = parent->children.find(FoldCase(resolved.components.back()));
  if (it == parent->children.end()) return err::kFileNotFound;
  if (it->second->directory || parent->deny_write) return err::kAccessDenied;
  parent->children.erase(it);
  return 0;
}

uint32_t EmulatedFileSystem::ReadWholeFile(WStringView path, const WString& current, std::string* bytes) const {
  uint32_t error = 0;
  Node* node = Lookup(Resolve(path, current), &error);
  if (!node) return error;
  if (node->directory) return err::kAccessDenied;
  *bytes = node->data;
  return 0;
}

#pragma once
// The ordered, owning list every game object lives in.
//
// Walks are safe against any change made during them:
//  - an object removed during a walk is skipped by every walk from then on,
//    but stays alive until no walk of this list is running, so the step that
//    is handling it finishes with a valid object;
//  - objects appended during a walk are visited by that same walk;
//  - removing an object that is not (or no longer) in the list is harmless.
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

template <class T>
class EntityList {
 public:
  EntityList() = default;
  // The storage goes to the spare buffers, so the next lists reuse it.
  ~EntityList() {
    destroyAll();
    if (nodes_.capacity() > 0) spareBuffers().push_back(std::move(nodes_));
  }
  EntityList(const EntityList&) = delete;
  EntityList& operator=(const EntityList&) = delete;

  // Called with every object appended; the simulator counts spawns with it.
  std::function<void(T&)> onAdd;

  // Appends and takes ownership; returns the object.
  template <class U>
  U* add(std::unique_ptr<U> object) {
    U* raw = object.get();
    if (raw == nullptr) return nullptr;
    if (nodes_.capacity() == 0) takeSpareBuffer();
    nodes_.push_back(Node{std::unique_ptr<T>(std::move(object)), false});
    ++live_;
    if (onAdd) onAdd(*raw);
    return raw;
  }

  // Removes the object; true when it was in the list.
  bool remove(const T* object) {
    if (object == nullptr) return false;
    // The object being handled by a running walk is by far the most common
    // case, so look at the walks' current positions first.
    for (const Walk* w = walks_; w != nullptr; w = w->outer) {
      const std::size_t i = *w->position;
      if (i < nodes_.size() && !nodes_[i].removed && nodes_[i].object.get() == object) {
        erase(i);
        return true;
      }
    }
    for (std::size_t i = nodes_.size(); i-- > 0;) {
      if (!nodes_[i].removed && nodes_[i].object.get() == object) {
        erase(i);
        compactIfSparse();
        return true;
      }
    }
    return false;
  }

  // Removes objects from the front for as long as pred(object) holds.
  template <class F>
  void removeFrontWhile(F&& pred) {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      if (nodes_[i].removed) continue;
      if (!pred(*nodes_[i].object)) break;
      erase(i);
    }
    compactIfSparse();
  }

  // Removes the last object, if any.
  void removeLast() {
    if (T* l = last()) remove(l);
  }

  void clear() {
    if (walks_ == nullptr) {
      destroyAll();
    } else {
      for (Node& n : nodes_) n.removed = true;
      garbage_ = true;
    }
    live_ = 0;
  }

  std::size_t size() const { return live_; }
  bool empty() const { return live_ == 0; }

  T* first() const {
    for (const Node& n : nodes_) {
      if (!n.removed) return n.object.get();
    }
    return nullptr;
  }

  T* last() const {
    for (std::size_t i = nodes_.size(); i-- > 0;) {
      if (!nodes_[i].removed) return nodes_[i].object.get();
    }
    return nullptr;
  }

  // Calls f(T&) for every object in list order.
  template <class F>
  void forEach(F&& f) {
    walkUntil([&f](T& o) {
      f(o);
      return false;
    });
  }

  // Calls f(const T&) for every object in list order: a walk that only
  // reads (drawing), during which nothing is added or removed.
  template <class F>
  void forEach(F&& f) const {
    for (const Node& n : nodes_) {
      if (!n.removed) f(static_cast<const T&>(*n.object));
    }
  }

  // Whether f returns true for any object; the walk stops at the first.
  template <class F>
  bool any(F&& f) {
    return walkUntil(f);
  }

  // Moves every object to the end of another list.
  void transferTo(EntityList& other) {
    for (Node& n : nodes_) {
      if (!n.removed) other.add(std::move(n.object));
      n.removed = true;
    }
    live_ = 0;
    if (walks_ == nullptr) {
      destroyAll();
    } else {
      garbage_ = true;
    }
  }

 private:
  // Calls f(T&) in list order until it returns true; returns whether it did.
  template <class F>
  bool walkUntil(F&& f) {
    // An index, not an iterator: objects appended by f may move the storage.
    std::size_t i = 0;
    Walk walk{&i, walks_};
    walks_ = &walk;
    bool stopped = false;
    for (; i < nodes_.size() && !stopped; ++i) {
      // The objects lie apart on the heap: ask for one a few places ahead
      // while this one is handled.
      if (i + kPrefetchDistance < nodes_.size()) __builtin_prefetch(nodes_[i + kPrefetchDistance].object.get());
      if (!nodes_[i].removed) stopped = f(*nodes_[i].object);
    }
    walks_ = walk.outer;
    if (walks_ == nullptr && garbage_) compact();
    return stopped;
  }

  // Objects are stored apart from the nodes, so a node may move while its
  // object is being handled. A removed node's object is destroyed at once
  // when no walk runs, otherwise when the last walk ends.
  struct Node {
    std::unique_ptr<T> object;
    bool removed;
  };
  struct Walk {
    const std::size_t* position;
    Walk* outer;
  };

  // The nodes are contiguous and in list order, so a walk reads them in one
  // sweep; what a removal leaves behind is swept up in bulk.
  void erase(std::size_t i) {
    --live_;
    nodes_[i].removed = true;
    garbage_ = true;
    if (walks_ == nullptr) nodes_[i].object.reset();
  }

  void compactIfSparse() {
    if (walks_ == nullptr && nodes_.size() > 2 * live_ + kSlack) compact();
  }

  // Drops the removed nodes, destroying their objects in list order.
  void compact() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      if (nodes_[i].removed) {
        nodes_[i].object.reset();
      } else {
        if (kept != i) nodes_[kept] = std::move(nodes_[i]);
        ++kept;
      }
    }
    nodes_.resize(kept);
    garbage_ = false;
  }

  void destroyAll() {
    for (Node& n : nodes_) n.object.reset();
    nodes_.clear();
    garbage_ = false;
  }

  // Emptied storage of lists that are gone, shared by every list of this type:
  // lists that live briefly, such as an explosion's sparks, reuse it instead
  // of growing their own. Never destroyed: lists emptied during the program's
  // exit still find it.
  static std::vector<std::vector<Node>>& spareBuffers() {
    static auto* spare = new std::vector<std::vector<Node>>;
    return *spare;
  }

  void takeSpareBuffer() {
    std::vector<std::vector<Node>>& spare = spareBuffers();
    if (spare.empty()) {
      nodes_.reserve(kFirstCapacity);
    } else {
      nodes_ = std::move(spare.back());
      spare.pop_back();
    }
  }

  // Room enough for a big explosion's sparks without growing.
  static constexpr std::size_t kFirstCapacity = 64;
  static constexpr std::size_t kPrefetchDistance = 4;
  // Removed nodes tolerated before a removal outside a walk compacts.
  static constexpr std::size_t kSlack = 32;

  std::vector<Node> nodes_;
  // The running walks, innermost first, each on its walker's stack: a list
  // that is only walked never allocates for it.
  Walk* walks_ = nullptr;
  std::size_t live_ = 0;
  bool garbage_ = false;
};

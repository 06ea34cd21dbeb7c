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
#include <iterator>
#include <list>
#include <memory>
#include <utility>

template <class T>
class EntityList {
 public:
  EntityList() = default;
  // The nodes go to the spare ones, so the next lists reuse them.
  ~EntityList() { retire(nodes_.begin(), nodes_.end()); }
  EntityList(const EntityList&) = delete;
  EntityList& operator=(const EntityList&) = delete;

  // Called with every object appended; the simulator counts spawns with it.
  std::function<void(T&)> onAdd;

  // Appends and takes ownership; returns the object.
  template <class U>
  U* add(std::unique_ptr<U> object) {
    U* raw = object.get();
    if (raw == nullptr) return nullptr;
    std::list<Node>& spare = spareNodes();
    if (spare.empty()) {
      nodes_.push_back(Node{std::unique_ptr<T>(std::move(object)), false});
    } else {
      nodes_.splice(nodes_.end(), spare, spare.begin());
      nodes_.back() = Node{std::unique_ptr<T>(std::move(object)), false};
    }
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
      Iter it = *w->position;
      if (it != nodes_.end() && !it->removed && it->object.get() == object) {
        erase(it);
        return true;
      }
    }
    for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it) {
      if (!it->removed && it->object.get() == object) {
        erase(std::prev(it.base()));
        return true;
      }
    }
    return false;
  }

  // Removes the last object, if any.
  void removeLast() {
    if (T* l = last()) remove(l);
  }

  void clear() {
    if (walks_ == nullptr) {
      retire(nodes_.begin(), nodes_.end());
    } else {
      for (Node& n : nodes_) n.removed = true;
      garbage_ = true;
    }
    live_ = 0;
  }

  std::size_t size() const { return live_; }
  bool empty() const { return live_ == 0; }

  T* first() const {
    for (auto it = nodes_.begin(); it != nodes_.end(); ++it) {
      if (!it->removed) return it->object.get();
    }
    return nullptr;
  }

  T* last() const {
    for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it) {
      if (!it->removed) return it->object.get();
    }
    return nullptr;
  }

  // Calls f(T&) for every object in list order.
  template <class F>
  void forEach(F&& f) {
    Iter it = nodes_.begin();
    Walk walk{&it, walks_};
    walks_ = &walk;
    while (it != nodes_.end()) {
      if (!it->removed) f(*it->object);
      ++it;
    }
    walks_ = walk.outer;
    if (walks_ == nullptr && garbage_) compact();
  }

  // Whether f returns true for any object. f is not called again after the
  // first true, but the walk still runs to the end of the list.
  template <class F>
  bool any(F&& f) {
    bool found = false;
    forEach([&](T& o) {
      if (!found && f(o)) found = true;
    });
    return found;
  }

  // Moves every object to the end of another list.
  void transferTo(EntityList& other) {
    for (Node& n : nodes_) {
      if (!n.removed) other.add(std::move(n.object));
      n.removed = true;
    }
    live_ = 0;
    if (walks_ == nullptr) {
      retire(nodes_.begin(), nodes_.end());
    } else {
      garbage_ = true;
    }
  }

 private:
  struct Node {
    std::unique_ptr<T> object;
    bool removed;
  };
  using Iter = typename std::list<Node>::iterator;
  struct Walk {
    Iter* position;
    Walk* outer;
  };

  void erase(Iter it) {
    --live_;
    if (walks_ == nullptr) {
      retire(it, std::next(it));
    } else {
      it->removed = true;
      garbage_ = true;
    }
  }

  void compact() {
    for (Iter it = nodes_.begin(); it != nodes_.end();) {
      const Iter next = std::next(it);
      if (it->removed) retire(it, next);
      it = next;
    }
    garbage_ = false;
  }

  // Unlinked nodes, their objects already destroyed, shared by every list of
  // this type (lists that live briefly, such as an explosion's sparks, reuse
  // them too). Never destroyed: lists emptied during the program's exit still
  // find it.
  static std::list<Node>& spareNodes() {
    static auto* spare = new std::list<Node>;
    return *spare;
  }

  // Unlinks the nodes [from, to) into the spare nodes, then destroys their
  // objects: later adds reuse the nodes, so lists whose lengths stay about
  // the same allocate none.
  void retire(Iter from, Iter to) {
    const auto count = std::distance(from, to);
    std::list<Node>& spare = spareNodes();
    spare.splice(spare.begin(), nodes_, from, to);
    auto it = spare.begin();
    for (auto i = count; i > 0; --i, ++it) it->object.reset();
  }

  std::list<Node> nodes_;
  // The running walks, innermost first, each on its walker's stack: a list
  // that is only walked never allocates for it.
  Walk* walks_ = nullptr;
  std::size_t live_ = 0;
  bool garbage_ = false;
};

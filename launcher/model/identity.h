// A number that tells one item or group apart from every other for the
// program's lifetime, where an address would not do: code that has run a
// nested message loop (a menu, a question, a sheet) finds its item again by
// group, slot and this number, and a freed item's address may by then belong
// to another. A copy is a new thing and gets a new number; a move (a vector
// closing a gap) carries the number along.
#pragma once
#include <atomic>
#include <cstdint>

namespace vorbin {

class Identity {
 public:
  Identity() : m_value(next()) {}
  Identity(const Identity&) : m_value(next()) {}
  Identity(Identity&& other) noexcept : m_value(other.m_value) {}
  Identity& operator=(const Identity& other) {
    if (this != &other) m_value = next();
    return *this;
  }
  Identity& operator=(Identity&& other) noexcept {
    m_value = other.m_value;
    return *this;
  }
  uint64_t value() const { return m_value; }
  friend bool operator==(const Identity& a, const Identity& b) { return a.m_value == b.m_value; }

 private:
  static uint64_t next() {
    static std::atomic<uint64_t> counter{0};
    return ++counter;
  }
  uint64_t m_value;
};

}  // namespace vorbin

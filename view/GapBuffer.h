#pragma once
// A sequence with a movable gap: edits that walk forward through the text
// (as the transposition pass does) cost time proportional to the distance
// moved, not to the length of the text.

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

namespace sonavel {

template <typename T>
class GapBuffer {
 public:
  std::size_t size() const { return m_data.size() - GapLength(); }

  // Takes the items; the vector's spare capacity becomes the gap, so callers
  // that expect edits can reserve room up front instead of paying for a
  // reallocation (and a second copy of the text) in the middle of a pass.
  void Assign(std::vector<T> items) {
    m_data = std::move(items);
    m_gapStart = m_data.size();
    m_data.resize(m_data.capacity());
    m_gapEnd = m_data.size();
  }

  T operator[](std::size_t i) const { return i < m_gapStart ? m_data[i] : m_data[i + GapLength()]; }

  // Replaces [start, end) by count items.
  void Replace(std::size_t start, std::size_t end, const T* items, std::size_t count) {
    MoveGap(start);
    m_gapEnd += end - start;  // the replaced items fall into the gap
    Reserve(count);
    std::copy(items, items + count, m_data.begin() + static_cast<std::ptrdiff_t>(m_gapStart));
    m_gapStart += count;
  }

  // Replaces [start, end) by count copies of value.
  void ReplaceFill(std::size_t start, std::size_t end, std::size_t count, T value) {
    MoveGap(start);
    m_gapEnd += end - start;
    Reserve(count);
    std::fill_n(m_data.begin() + static_cast<std::ptrdiff_t>(m_gapStart), count, value);
    m_gapStart += count;
  }

  void Fill(std::size_t start, std::size_t end, T value) {
    ForEachSegment(start, end, [value](T* first, T* last) { std::fill(first, last, value); });
  }

  // The last index q in [pos, limit] such that [pos, q] all equal item pos.
  std::size_t SameEnd(std::size_t pos, std::size_t limit) const {
    const T value = (*this)[pos];
    std::size_t q = pos;
    while (q < limit && (*this)[q + 1] == value) ++q;
    return q;
  }

  // f(first, last) over the contiguous pieces of [start, end).
  template <typename F>
  void ForEachSegment(std::size_t start, std::size_t end, F&& f) {
    if (start < m_gapStart) {
      const std::size_t stop = std::min(end, m_gapStart);
      f(m_data.data() + start, m_data.data() + stop);
      start = stop;
    }
    if (start < end) f(m_data.data() + start + GapLength(), m_data.data() + end + GapLength());
  }
  template <typename F>
  void ForEachSegment(std::size_t start, std::size_t end, F&& f) const {
    const_cast<GapBuffer*>(this)->ForEachSegment(start, end, [&f](const T* a, const T* b) { f(a, b); });
  }


 private:
  std::size_t GapLength() const { return m_gapEnd - m_gapStart; }

  void MoveGap(std::size_t pos) {
    if (pos < m_gapStart) {
      std::move_backward(m_data.begin() + static_cast<std::ptrdiff_t>(pos),
                         m_data.begin() + static_cast<std::ptrdiff_t>(m_gapStart),
                         m_data.begin() + static_cast<std::ptrdiff_t>(m_gapEnd));
    } else if (pos > m_gapStart) {
      std::move(m_data.begin() + static_cast<std::ptrdiff_t>(m_gapEnd),
                m_data.begin() + static_cast<std::ptrdiff_t>(pos + GapLength()),
                m_data.begin() + static_cast<std::ptrdiff_t>(m_gapStart));
    }
    const std::size_t gap = GapLength();
    m_gapStart = pos;
    m_gapEnd = pos + gap;
  }

  void Reserve(std::size_t count) {
    if (GapLength() >= count) return;
    // Grow by a fraction of the text, so that a pass of many small growing
    // edits costs amortised constant time without doubling the memory.
    const std::size_t extra = std::max<std::size_t>(count, std::max<std::size_t>(4096, size() / 16));
    const std::size_t tail = m_data.size() - m_gapEnd;
    m_data.reserve(m_data.size() + extra);  // exactly: resize alone may double
    m_data.resize(m_data.size() + extra);
    std::move_backward(m_data.end() - static_cast<std::ptrdiff_t>(tail + extra),
                       m_data.end() - static_cast<std::ptrdiff_t>(extra), m_data.end());
    m_gapEnd += extra;
  }

  std::vector<T> m_data;
  std::size_t m_gapStart = 0;
  std::size_t m_gapEnd = 0;
};

}  // namespace sonavel

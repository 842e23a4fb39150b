#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace korvelin {

// An allocator whose containers grow without filling the new room: the report's room for a line
// is written before anything reads it, and clearing it first would cost as much as writing it.
template <typename T>
struct UnfilledAllocator : std::allocator<T> {
    using std::allocator<T>::allocator;
    template <typename U>
    void construct(U* place) noexcept
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Arguments>
    void construct(U* place, Arguments&&... arguments)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
    }
};

// The lines that the intermediate-data window shows, in order, empty lines included. The lines
// are kept end to end in one text beside the offsets where each ends: a report of any length
// takes two allocations, not one per line, and a line is written straight into its place.
class IntermediateReport {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const noexcept { return (*report_)[index_]; }
        const_iterator& operator++() noexcept
        {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) noexcept
        {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) noexcept
        {
            return a.index_ == b.index_;
        }

    private:
        friend class IntermediateReport;
        const_iterator(const IntermediateReport* report, std::size_t index) noexcept
            : report_(report), index_(index)
        {
        }
        const IntermediateReport* report_ = nullptr;
        std::size_t index_ = 0;
    };

    IntermediateReport() = default;
    IntermediateReport(std::initializer_list<std::string_view> lines)
    {
        for (const std::string_view line : lines) {
            push_back(line);
        }
    }

    std::size_t size() const noexcept { return ends_.size(); }
    bool empty() const noexcept { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const noexcept
    {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return {text_.data() + begin, ends_[index] - begin};
    }
    // Throws std::out_of_range past the last line, as a vector's at() does.
    std::string_view at(std::size_t index) const
    {
        static_cast<void>(ends_.at(index));
        return (*this)[index];
    }
    const_iterator begin() const noexcept { return {this, 0}; }
    const_iterator end() const noexcept { return {this, ends_.size()}; }

    void reserve(std::size_t lines, std::size_t characters)
    {
        ends_.reserve(lines);
        text_.reserve(characters);
    }
    void push_back(std::string_view line)
    {
        text_.insert(text_.end(), line.begin(), line.end());
        EndLine();
    }
    // Appends the line that `write` writes at the pointer it is given, with room for `room`
    // characters, returning the line's end; when it returns nullptr instead, nothing is appended
    // and the result is false.
    template <typename Write>
    bool TryAppendWritten(std::size_t room, Write&& write)
    {
        const std::size_t start = text_.size();
        text_.resize(start + room);
        const char* end = write(text_.data() + start);
        text_.resize(end == nullptr ? start : static_cast<std::size_t>(end - text_.data()));
        if (end != nullptr) {
            EndLine();
        }
        return end != nullptr;
    }

    friend bool operator==(const IntermediateReport& a, const IntermediateReport& b) noexcept
    {
        return a.ends_ == b.ends_ && a.text_ == b.text_;
    }

private:
    void EndLine() { ends_.push_back(static_cast<std::uint32_t>(text_.size())); }

    std::vector<char, UnfilledAllocator<char>> text_;
    std::vector<std::uint32_t> ends_;
};

}  // namespace korvelin

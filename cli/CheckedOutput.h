#pragma once

#include <array>
#include <streambuf>

namespace korvelin::cli {

// A buffered output to a file descriptor that remembers why a write failed: once a write has
// failed, every later one fails too, so the stream that uses it turns bad and stays bad.
class CheckedOutput : public std::streambuf {
public:
    explicit CheckedOutput(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;

    // Writes what is left and closes the descriptor; false when any byte could not be written.
    bool Close();
    // The errno value of the first failure, 0 while everything was written.
    int Error() const { return error_; }

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

private:
    bool WriteAll(const char* data, std::size_t size);
    bool Drain();

    int fd_;
    int error_ = 0;
    std::array<char, 1 << 16> buffer_{};
};

// Ends the program's output: closes it and, when something could not be written, tells so on
// `err` (a closed pipe ends quietly) and turns the exit status into 2.
int FinishOutput(CheckedOutput& output, std::ostream& err, int status);

}  // namespace korvelin::cli

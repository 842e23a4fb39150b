#include "CheckedOutput.h"

#include "korvelin/InputSetFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

namespace korvelin::cli {

bool CheckedOutput::WriteAll(const char* data, std::size_t size)
{
    while (size > 0 && error_ == 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno != EINTR) {
                error_ = errno;
            }
            continue;
        }
        if (written == 0) {
            error_ = EIO;
            break;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return error_ == 0;
}

bool CheckedOutput::Drain()
{
    const bool written = WriteAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

CheckedOutput::int_type CheckedOutput::overflow(int_type ch)
{
    if (!Drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(ch);
        pbump(1);
    }
    return traits_type::not_eof(ch);
}

std::streamsize CheckedOutput::xsputn(const char* data, std::streamsize size)
{
    if (error_ != 0) {
        return 0;
    }
    const auto count = static_cast<std::size_t>(size);
    if (count <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), data, count);
        pbump(static_cast<int>(count));
        return size;
    }
    if (!Drain()) {
        return 0;
    }
    if (count < buffer_.size()) {
        std::memcpy(pptr(), data, count);
        pbump(static_cast<int>(count));
        return size;
    }
    // A piece larger than the buffer goes straight to the descriptor.
    return WriteAll(data, count) ? size : 0;
}

int CheckedOutput::sync() { return Drain() ? 0 : -1; }

bool CheckedOutput::Close()
{
    Drain();
    if (fd_ >= 0) {
        if (::close(fd_) != 0 && error_ == 0 && errno != EINTR) {
            error_ = errno;
        }
        fd_ = -1;
    }
    return error_ == 0;
}

int FinishOutput(CheckedOutput& output, std::ostream& err, int status)
{
    if (output.Close()) {
        return status;
    }
    if (output.Error() != EPIPE) {
        err << "korvelin-calc: Не удалось записать вывод: " << SystemErrorText(output.Error()) << '\n';
    }
    return 2;
}

}  // namespace korvelin::cli

#include "korvelin/InputSetFile.h"

#include "korvelin/FileName.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string_view>

namespace korvelin {
namespace {

std::string OpenFailure(const std::string& path, std::string_view problem)
{
    return "Не удалось открыть файл «" + path + "»: " + std::string(problem) + ".";
}

std::string SaveFailure(const std::string& path, std::string_view problem)
{
    return "Не удалось сохранить файл «" + path + "»: " + std::string(problem) + ".";
}

// The reason of a failed system call, in the program's language whatever the locale.
std::string ErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return "файл или папка не найдены";
    case EACCES:
    case EPERM:
        return "нет прав доступа";
    case EISDIR:
        return "это папка, а не файл";
    case ENOTDIR:
        return "часть пути — не папка";
    case EROFS:
        return "диск доступен только для чтения";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "на диске нет места";
    case EFBIG:
        return "файл больше, чем допускает система";
    case ENAMETOOLONG:
        return "слишком длинное имя";
#ifdef ELOOP
    case ELOOP:
        return "слишком много символических ссылок";
#endif
    case EIO:
        return "ошибка ввода-вывода";
    case EILSEQ:
        return "имя файла не в кодировке UTF-8";
#ifdef _WIN32
    // The system's answer to a name with a character that Windows does not allow (< > : " | ? *).
    case EINVAL:
        return "недопустимое имя файла";
#endif
    default:
        return "системная ошибка " + std::to_string(error) + " (" + std::strerror(error) + ")";
    }
}

#ifdef _WIN32
constexpr int kReadFlags = O_RDONLY | O_BINARY | O_NOINHERIT;
// The size of a file beyond 2 GiB must not wrap.
using FileStatus = struct _stat64;
int StatusOf(int fd, FileStatus& status) { return ::_fstat64(fd, &status); }
// The C runtime reads and writes at most INT_MAX bytes at a time.
unsigned int ChunkSize(std::size_t size) { return static_cast<unsigned int>(std::min<std::size_t>(size, INT_MAX)); }
#else
// Not blocking: a named pipe given for a file is refused below instead of waiting for a writer.
constexpr int kReadFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
using FileStatus = struct stat;
int StatusOf(int fd, FileStatus& status) { return ::fstat(fd, &status); }
std::size_t ChunkSize(std::size_t size) { return size; }
#endif

// What an atomic save does differently on each system: the name of the file to replace, the
// temporary file beside it, its preparation, the flush to the disk and the replacement itself.
// Each returns 0 or the error (errno).
#ifdef _WIN32
// Names are UTF-8 and reach the system through its wide calls, as UTF-16; a name whose bytes are
// not UTF-8 is refused with EILSEQ.
template <typename Call>
int WithWideName(const std::string& name, Call call)
{
    const std::optional<std::wstring> wide = WideFileName(name);
    if (!wide) {
        errno = EILSEQ;
        return -1;
    }
    return call(wide->c_str());
}
int OpenForReading(const std::string& path)
{
    return WithWideName(path, [](const wchar_t* name) { return ::_wopen(name, kReadFlags); });
}
int StatusOfPath(const std::string& path, FileStatus& status)
{
    return WithWideName(path, [&status](const wchar_t* name) { return ::_wstat64(name, &status); });
}
std::string SaveTarget(const std::string& path) { return path; }
std::string FolderOf(const std::string& target)
{
    const std::size_t slash = target.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".") : target.substr(0, slash);
}
std::string TemporaryBeside(const std::string& target)
{
    const std::size_t slash = target.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return FolderOf(target) + "\\." + name + ".XXXXXX";
}
// Replaces the six X at the end of the name with letters and digits until the name is new, and
// creates the file; the C runtime has no wide mkstemp.
int CreateTemporary(std::string& temporary)
{
    constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = temporary.size() - 6; i < temporary.size(); ++i) {
            temporary[i] = letters[pick(random)];
        }
        const int fd = WithWideName(temporary, [](const wchar_t* name) {
            return ::_wopen(name, _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
        });
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}
void RemoveFile(const std::string& path)
{
    if (const std::optional<std::wstring> wide = WideFileName(path)) {
        ::_wremove(wide->c_str());
    }
}
// The bytes as they are: no line ends turned into CR LF.
int PrepareTemporary(int fd, bool, const FileStatus&) { return ::_setmode(fd, _O_BINARY) == -1 ? errno : 0; }
int SyncFile(int fd) { return ::_commit(fd) == 0 ? 0 : errno; }
// Replaces the old file in one step; the move reaches the disk before the call returns.
int ReplaceTarget(const std::string& temporary, const std::string& target)
{
    const std::optional<std::wstring> from = WideFileName(temporary);
    const std::optional<std::wstring> to = WideFileName(target);
    if (!from || !to) {
        return EILSEQ;
    }
    if (::MoveFileExW(from->c_str(), to->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    switch (::GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    default:
        return EIO;
    }
}
void SyncFolder(const std::string&) {}
#else
int OpenForReading(const std::string& path) { return ::open(path.c_str(), kReadFlags); }
int StatusOfPath(const std::string& path, FileStatus& status) { return ::stat(path.c_str(), &status); }
// A symbolic link keeps pointing at the file it names: that file is replaced.
std::string SaveTarget(const std::string& path)
{
    const std::filesystem::path target(path);
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
        if (!error) {
            return resolved.string();
        }
    }
    return path;
}
std::string FolderOf(const std::string& target)
{
    const std::filesystem::path file(target);
    return file.has_parent_path() ? file.parent_path().string() : std::string(".");
}
std::string TemporaryBeside(const std::string& target)
{
    const std::filesystem::path file(target);
    return (std::filesystem::path(FolderOf(target)) / ("." + file.filename().string() + ".XXXXXX")).string();
}
// The permissions of the file replaced, or those of a new file.
int PrepareTemporary(int fd, bool replacing, const FileStatus& old)
{
    mode_t mode = 0;
    if (replacing) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return ::fchmod(fd, mode) == 0 ? 0 : errno;
}
int SyncFile(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }
int CreateTemporary(std::string& temporary) { return ::mkstemp(temporary.data()); }
void RemoveFile(const std::string& path) { std::remove(path.c_str()); }
int ReplaceTarget(const std::string& temporary, const std::string& target)
{
    return ::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
}
// The rename itself reaches the disk with the folder.
void SyncFolder(const std::string& folder)
{
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}
#endif

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : Fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
    int Get() const { return Fd; }
    // Closes now; returns the error of close, or 0.
    int Close()
    {
        const int fd = Fd;
        Fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int Fd;
};

// Writes all bytes; returns 0 or the error.
int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto written = ::write(fd, bytes.data(), ChunkSize(bytes.size()));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

InputSetReading ReadInputSetFile(const std::string& path)
{
    InputSetReading reading;
    Descriptor file(OpenForReading(path));
    if (file.Get() < 0) {
        reading.Message = OpenFailure(path, errno == ENOENT ? std::string("файл не найден") : ErrorText(errno));
        return reading;
    }
    FileStatus status {};
    if (StatusOf(file.Get(), status) != 0) {
        reading.Message = OpenFailure(path, ErrorText(errno));
        return reading;
    }
    if (S_ISDIR(status.st_mode)) {
        reading.Message = OpenFailure(path, "это папка, а не файл");
        return reading;
    }
    if (!S_ISREG(status.st_mode)) {
        reading.Message = OpenFailure(path, "это не обычный файл");
        return reading;
    }
    const std::string tooLarge = "файл больше " + std::to_string(kMaxInputSetFileSize / 1024) +
                                 " КиБ, а файл исходных данных много меньше";
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxInputSetFileSize) {
        reading.Message = OpenFailure(path, tooLarge);
        return reading;
    }
    // Read to one byte past the limit: a file that grew since fstat is refused all the same.
    std::string bytes(kMaxInputSetFileSize + 1, '\0');
    std::size_t size = 0;
    while (size < bytes.size()) {
        const auto got = ::read(file.Get(), bytes.data() + size, ChunkSize(bytes.size() - size));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            reading.Message = OpenFailure(path, ErrorText(errno));
            return reading;
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    if (size > kMaxInputSetFileSize) {
        reading.Message = OpenFailure(path, tooLarge);
        return reading;
    }
    bytes.resize(size);
    InputSetParse parse = ParseInputSet(bytes);
    if (!parse.Set) {
        reading.Message = OpenFailure(path, parse.Problem);
        return reading;
    }
    reading.Set = std::move(parse.Set);
    return reading;
}

std::string WriteInputSetFile(const std::string& path, const InputSet& set)
{
    if (const std::string problem = InputSetProblem(set); !problem.empty()) {
        return SaveFailure(path, problem);
    }
    if (path.empty()) {
        return SaveFailure(path, "имя файла не задано");
    }
    const std::string target = SaveTarget(path);
    FileStatus old {};
    const bool replacing = StatusOfPath(target, old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) {
        return SaveFailure(path, "это папка, а не файл");
    }
    if (replacing && !S_ISREG(old.st_mode)) {
        return SaveFailure(path, "это не обычный файл");
    }

    std::string temporary = TemporaryBeside(target);
    Descriptor file(CreateTemporary(temporary));
    if (file.Get() < 0) {
        return SaveFailure(path, errno == ENOENT ? std::string("папка не найдена") : ErrorText(errno));
    }
    auto fail = [&](int errorCode) {
        RemoveFile(temporary);
        return SaveFailure(path, ErrorText(errorCode));
    };
    if (const int prepared = PrepareTemporary(file.Get(), replacing, old); prepared != 0) {
        return fail(prepared);
    }
    if (const int written = WriteAll(file.Get(), SerializeInputSet(set)); written != 0) {
        return fail(written);
    }
    if (const int synced = SyncFile(file.Get()); synced != 0) {
        return fail(synced);
    }
    if (const int closed = file.Close(); closed != 0) {
        return fail(closed);
    }
    if (const int replaced = ReplaceTarget(temporary, target); replaced != 0) {
        return fail(replaced);
    }
    SyncFolder(FolderOf(target));
    return {};
}

std::string SystemErrorText(int error) { return ErrorText(error); }

}  // namespace korvelin

#include "Physics/Stream.h"

#include "Common/Platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

UserStream::UserStream(const char* filename, bool load) : name(filename ? filename : "")
{
    if (load) {
        fp = open_file(filename, "rb");
        return;
    }
    fp = create_temporary_beside(native_path(filename), temporary);
    if (!fp) write_failed(errno);
    // Unbuffered, so that a full disk shows at the write that meets it, not at a close
    // whose result nobody reads.
    std::setvbuf(fp, nullptr, _IONBF, 0);
}

void UserStream::write_failed(int error) const
{
    // The file's own name, and the folder it goes into in full (the working directory for
    // a bare name).
    const std::string path = native_path(name.c_str());
    const size_t slash = path.find_last_of('/');
    std::string dir = slash == std::string::npos ? current_directory() : path.substr(0, slash);
    if (!dir.empty() && dir[0] != '/') dir = current_directory() + "/" + dir;
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!temporary.empty()) std::remove(temporary.c_str());
    std::fprintf(stderr, "\nUnable to write the scratch file \"%s\" in \"%s\": %s\n", file.c_str(), dir.c_str(),
                 error ? std::strerror(error) : "the write was cut short");
    std::exit(1);
}

void UserStream::commit()
{
    if (temporary.empty()) return;
    const bool closed = std::fclose(fp) == 0;
    fp = nullptr;
    if (!closed || !replace_file(temporary, native_path(name.c_str()))) write_failed(errno);
    temporary.clear();
}

UserStream::~UserStream()
{
    if (fp) std::fclose(fp);
    if (!temporary.empty()) std::remove(temporary.c_str());
}

void UserStream::read(void* out, size_t size, int line) const
{
    size_t got = fp ? std::fread(out, 1, size, fp) : 0;
    if (got != size) debug_assertion_failed("r", "src\\Physics\\Stream", line);
}

void UserStream::write(const void* in, size_t size)
{
    if (!fp) write_failed(EBADF); // a stream opened for reading
    errno = 0;
    if (std::fwrite(in, 1, size, fp) != size) write_failed(errno);
}

NxU8 UserStream::readByte() const { return read_value<NxU8>(__LINE__); }

NxU16 UserStream::readWord() const { return read_value<NxU16>(__LINE__); }

NxU32 UserStream::readDword() const { return read_value<NxU32>(__LINE__); }

NxF32 UserStream::readFloat() const { return read_value<NxF32>(__LINE__); }

NxF64 UserStream::readDouble() const { return read_value<NxF64>(__LINE__); }

void UserStream::readBuffer(void* buffer, NxU32 size) const
{
    read(buffer, size, __LINE__);
}

NxStream& UserStream::storeByte(NxU8 b)
{
    write(&b, 1);
    return *this;
}

NxStream& UserStream::storeWord(NxU16 w)
{
    write(&w, 2);
    return *this;
}

NxStream& UserStream::storeDword(NxU32 d)
{
    write(&d, 4);
    return *this;
}

NxStream& UserStream::storeFloat(NxF32 f)
{
    write(&f, 4);
    return *this;
}

NxStream& UserStream::storeDouble(NxF64 f)
{
    write(&f, 8);
    return *this;
}

NxStream& UserStream::storeBuffer(const void* buffer, NxU32 size)
{
    write(buffer, size);
    return *this;
}

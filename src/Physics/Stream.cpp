#include "Physics/Stream.h"

#include "Common/Platform.h"

UserStream::UserStream(const char* filename, bool load)
{
    fp = open_file(filename, load ? "rb" : "wb");
}

UserStream::~UserStream()
{
    if (fp) std::fclose(fp);
}

void UserStream::read(void* out, size_t size, int line) const
{
    size_t got = fp ? std::fread(out, 1, size, fp) : 0;
    if (got != size) debug_assertion_failed("r", "src\\Physics\\Stream", line);
}

void UserStream::write(const void* in, size_t size, int line)
{
    size_t put = fp ? std::fwrite(in, 1, size, fp) : 0;
    if (put != size) debug_assertion_failed("w", "src\\Physics\\Stream", line);
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
    write(&b, 1, __LINE__);
    return *this;
}

NxStream& UserStream::storeWord(NxU16 w)
{
    write(&w, 2, __LINE__);
    return *this;
}

NxStream& UserStream::storeDword(NxU32 d)
{
    write(&d, 4, __LINE__);
    return *this;
}

NxStream& UserStream::storeFloat(NxF32 f)
{
    write(&f, 4, __LINE__);
    return *this;
}

NxStream& UserStream::storeDouble(NxF64 f)
{
    write(&f, 8, __LINE__);
    return *this;
}

NxStream& UserStream::storeBuffer(const void* buffer, NxU32 size)
{
    write(buffer, size, __LINE__);
    return *this;
}

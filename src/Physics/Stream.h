// A C file as a physics stream: cooked terrain meshes go through the scratch files with it.
// Values are read and written in the machine's native layout. A read that fails raises the
// debug assertion "r". A scratch file is written whole or not at all: the bytes go into a
// fresh temporary file beside it, which `commit` renames into place, so whatever stood at
// the name (a link to a file elsewhere, another copy's tile) is replaced, never written
// through, and a second copy of the game reading the tile meanwhile sees the old file or
// the new one, never half of one. A scratch file that cannot be created or written (a
// read-only or full disk, a directory in its place) ends the program with status 1 and a
// message that names the file, the directory it was to be written in and the system's
// reason: the assertion "w" would tell the player nothing they could act on.
#pragma once

#include "Physics/NxPhysics.h"

#include <cstdio>
#include <string>

class UserStream : public NxStream {
public:
    // Opens `filename` for binary reading when `load` is set, else a temporary file beside
    // it for binary writing.
    UserStream(const char* filename, bool load);
    // A writer that was not committed removes its temporary file.
    ~UserStream() override;

    // Writing: closes the temporary file and puts it in place under the stream's name.
    void commit();
    UserStream(const UserStream&) = delete;
    UserStream& operator=(const UserStream&) = delete;

    NxU8 readByte() const override;
    NxU16 readWord() const override;
    NxU32 readDword() const override;
    NxF32 readFloat() const override;
    NxF64 readDouble() const override;
    void readBuffer(void* buffer, NxU32 size) const override;

    NxStream& storeByte(NxU8 b) override;
    NxStream& storeWord(NxU16 w) override;
    NxStream& storeDword(NxU32 d) override;
    NxStream& storeFloat(NxF32 f) override;
    NxStream& storeDouble(NxF64 f) override;
    NxStream& storeBuffer(const void* buffer, NxU32 size) override;

    FILE* fp = nullptr;

private:
    [[noreturn]] void write_failed(int error) const;

    void read(void* out, size_t size, int line) const;
    // One value in the machine's byte order; `line` names the call in a failed read's report.
    template <typename T>
    T read_value(int line) const
    {
        T v = 0;
        read(&v, sizeof v, line);
        return v;
    }
    void write(const void* in, size_t size);

    std::string name;
    std::string temporary; // the file being written, until it is committed
};

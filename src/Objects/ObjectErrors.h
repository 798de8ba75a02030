// Thrown by object constructors on bad object configuration (a body or sensor shape type
// other than the box, 111). Nothing in the game catches them but the main program, which
// ends the program naming the error.
#pragma once

#include "Common/ParameterFile.h"

#include <cstdio>

class ObjectError {};
class HoverObjectError : public ObjectError {};  // opponents and the eskel ship
class StaticObjectError : public ObjectError {}; // static scenery objects

// The box (111) is the one shape there is. Another type is named on standard error with its
// file and key, which the error's own message cannot say, before `Error` ends the program.
template <class Error>
void require_box_shape(const ParameterFile& p, const char* key)
{
    if (p.getInt(key) == 111) return;
    std::fprintf(stderr, "%s=%s in %s: the box (111) is the one shape there is\n", key, p.getString(key).c_str(),
                 p.path.c_str());
    throw Error();
}

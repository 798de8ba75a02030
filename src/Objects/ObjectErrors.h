// Thrown by object constructors on bad object configuration (a body or sensor shape type
// other than the box, 111). Nothing in the game catches them but the main program, which
// ends the program naming the error.
#pragma once

class ObjectError {};
class HoverObjectError : public ObjectError {};  // opponents and the eskel ship
class StaticObjectError : public ObjectError {}; // static scenery objects

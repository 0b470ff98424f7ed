#pragma once

#include <iosfwd>
#include <string>

// What an author needs to write an effect block and its timeline, for every
// registered effect class, taken from the code and the definition files
// rather than kept by hand (kelvarn --describe):
//
//   ClassName
//     parameters:
//       name  type  default VALUE  [one of A, B, ...]
//     tracks:
//       name  [what it does]
//     resources:
//       kind 'name'  [what it is for]
//
// Parameters come from resources/definitions/CLASS.def, the tracks from the
// names an instance registers, the resources from what the class declares it
// looks up under names of its own rather than through a parameter: a
// production using the class loads each under exactly that name, in the
// demoscript block of its kind (shader: shaders, framebuffer: framebuffers,
// texture: graphics, binary: binary, camera path: animation, scene: objects;
// a scene object is an object of that name inside a loaded scene). One
// shader needs no entry anywhere: every production has "default" whatever
// its demoscript says, for a parameter or a class to name.
class EffectReference
{
public:
    // Every class, or only `only`; false with the reason in `error` for an
    // unknown class or a definition file that cannot be read.
    static bool write(const std::string& definitions, const std::string& only, std::ostream& out, std::string& error);
};

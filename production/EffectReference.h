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
//
// Parameters come from resources/definitions/CLASS.def, the tracks from the
// names an instance registers.
class EffectReference
{
public:
    // Every class, or only `only`; false with the reason in `error` for an
    // unknown class or a definition file that cannot be read.
    static bool write(const std::string& definitions, const std::string& only, std::ostream& out, std::string& error);
};

#pragma once

#include <string>

class EffectDefinition;
class Parameters;

// Reads one effect definition file (.def).
//
// Format: plain text without comments or header, read whole. The text is
// split at "{" and "}" (empty and blank pieces vanish) and read as pairs of
// block name and body, both trimmed; a name at the very end has an empty
// body. Only "parameters" and "methods" are valid names; a later block of
// one kind replaces the earlier. Since an empty body leaves no piece, an
// empty block takes the next block's name as its body.
//
//   parameters {
//       opacity [type=float] [default=1.0] [values=<string>];
//       mode [type=string] [default=add] [values=add, multiply];
//   }
//   methods {
//       flash(color, duration);
//   }
//
// A parameters body holds declarations separated by ";". Each is split at
// "[" and "]": the first piece, trimmed, names the parameter; exactly three
// attribute slots follow, each piece trimmed and read as name=value, the
// name before the first "=", the value up to the second "=", neither
// trimmed (so "type = float" declares the attribute "type "). A piece
// without "=" has an empty value; a missing slot adds the empty attribute
// ""; pieces after the third are ignored. Attributes read by the demoscript:
// "type" (string, float, int, bool), "default", and for strings "values":
// "<string>" for free text, otherwise the options separated by ",".
//
// A methods body holds declarations separated by ";", each split at "(" and
// ")": the method name, then its arguments separated by ",", each trimmed
// and stored under its two-digit index "00", "01", ... ("100" and up past
// ninety-nine), so key order is argument order.
//
// Declarations never fail to parse; odd ones give odd entries that the
// demoscript's validation rejects where they matter.
class EffectDefinitionParser
{
public:
    explicit EffectDefinitionParser(const std::string& fileName);

    // A new definition owned by the caller, or null after an error.
    EffectDefinition* parse();

    bool isValid() const { return valid; }
    const std::string& getErrorMessage() const { return errorMessage; }

private:
    static Parameters* parseParameters(const std::string& body);
    static Parameters* parseMethods(const std::string& body);

    std::string fileName;
    std::string fileText;
    std::string errorMessage;
    bool valid = true;
};

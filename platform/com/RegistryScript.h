#pragma once
// A registry script in the .rgs language of component libraries, parsed into a tree:
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove {20FA4677-FEE0-11D5-B550-D1D72E725270} = s 'KaleidPixload Class'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// Roots: HKCR / HKEY_CLASSES_ROOT and HKCU / HKEY_CURRENT_USER. A key is an optional flag
// (NoRemove, ForceRemove or Delete), a name (bare or in single quotes), an optional default
// value "= s 'text'" or "= d number" and an optional block of subkeys and named values
// ("val Name = s 'text'"). Keywords and types ignore case; quoted names are never keywords;
// '' inside quotes is one quote. %NAME% is replaced by a variable, %% by a single %.

#include "platform/registry/Registry.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class RegistryScript {
public:
    struct Value {
        std::string name;
        RegistryValue data;
    };
    struct Key {
        enum class Flag { None, NoRemove, ForceRemove, Delete };
        Flag flag = Flag::None;
        /// May hold `\`, naming a key further down.
        std::string name;
        std::optional<RegistryValue> defaultValue;
        std::vector<Value> values;
        std::vector<Key> subkeys;
    };
    struct Root {
        RegistryRoot root;
        std::vector<Value> values;
        std::vector<Key> keys;
    };

    /// Parses `text`, replacing %NAME% by variables[NAME] (names compared exactly). On a
    /// syntax error or an unknown variable: nullopt, and *error (when given) says what and
    /// on which line.
    static std::optional<RegistryScript> Parse(std::string_view text,
                                               const std::map<std::string, std::string>& variables,
                                               std::string* error = nullptr);

    std::vector<Root> roots;
};

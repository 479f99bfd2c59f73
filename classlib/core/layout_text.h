// The text form of a stored layout, parsed into objects with their property
// values. TReader (filer.h) then applies it to components.
//
//   object frmMain: TfrmMain
//     Caption = 'Quillmere'
//     Font.Name = 'Tahoma'
//     Anchors = [akLeft, akTop]
//     OnCreate = FormCreate
//     Items.Strings = (
//       'one'
//       'two')
//     Images = <
//       item
//         Name = '_down'
//       end>
//     Picture.Data = {
//       0A1B2C}
//     object Button1: TButton
//       Caption = 'OK'
//     end
//   end
//
// Values: integers (decimal, $hex), floats (1.5; 1.5s, 1.5c and 1.5d are a
// single, a currency and a date-time), strings ('...' with '' for a
// quote, #nn character codes, pieces joined by +), identifiers (True,
// False, nil, enumeration values, component and method names), sets [a, b],
// lists ( v v ), collections < item ... end >, binary data { hex }.
#pragma once

#include <vector>

#include "classlib/core/exceptions.h"

QL_EXCEPTION(EParserError, Exception);

enum TValueType {
    vaNull,  // end of a list, a collection or a collection item
    vaList,  // a list; inside a collection: the start of an item
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String,
    vaDouble,
    vaPropName,  // inside a collection item: the name of the next property
};

// One value token. Lists and collections are flat: vaList / vaCollection,
// the elements, then vaNull.
struct TLayoutToken {
    TValueType Type = vaNull;
    Int64 Int = 0;                 // integers; a collection item's order (-1: none)
    double Float = 0;              // floats
    String Text;                   // strings, identifiers, names, binary bytes
    std::vector<String> Elements;  // sets
    int Line = 0;
};

struct TLayoutProperty {
    String Name;  // may be a path: Font.Name
    std::vector<TLayoutToken> Value;
    int Line = 0;
};

enum TLayoutObjectKind { okObject, okInherited, okInline };

struct TLayoutObject {
    TLayoutObjectKind Kind = okObject;
    String Name;  // may be empty
    String ClassName;
    int Line = 0;
    // The stored position among its container's children ("object A: TB
    // [2]"); -1: none.
    int ChildPos = -1;
    std::vector<TLayoutProperty> Properties;
    std::vector<TLayoutObject> Children;
};

// Parses one object and everything inside it. Raises EParserError with the
// line for malformed text; the depth of nesting is limited so hostile text
// cannot exhaust the stack.
TLayoutObject ParseLayoutText(const String& text);

// Variant: a value that carries its own type. Empty (no value yet), null
// (no value on purpose), integers of each width, floats, currency (a fixed
// point of four decimals), date-times, Booleans and text.
//
//   Variant v = 42;                      // varInteger
//   Variant w = Variant::Of(7, varByte);  // an unsigned 8-bit integer
//   v.AsString()  -> "42"
#pragma once

#include "classlib/core/exceptions.h"
#include "classlib/core/sysutils.h"

QL_EXCEPTION(EVariantError, Exception);
// A value that cannot be taken as the asked type: "Could not convert
// variant of type (String) into type (Integer)".
QL_EXCEPTION(EVariantTypeCastError, EVariantError);

enum TVarType : Word {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varSmallint = 0x0002,  // signed 16-bit
    varInteger = 0x0003,   // signed 32-bit
    varSingle = 0x0004,
    varDouble = 0x0005,
    varCurrency = 0x0006,
    varDate = 0x0007,
    varBoolean = 0x000B,
    varShortInt = 0x0010,  // signed 8-bit
    varByte = 0x0011,      // unsigned 8-bit
    varWord = 0x0012,      // unsigned 16-bit
    varLongWord = 0x0013,  // unsigned 32-bit
    varInt64 = 0x0014,
    varString = 0x0100,
};

// The type's name as conversion errors give it ("Integer", "String").
String VarTypeName(TVarType type);
// The integer types, narrowest first; varInt64 holds any Int64.
bool VarTypeIsOrdinal(TVarType type);
bool VarTypeIsFloat(TVarType type);  // single, double, currency, date
// Whether an integer type holds value.
bool VarTypeHolds(TVarType type, Int64 value);
// The narrowest signed type that holds value: varShortInt, varSmallint,
// varInteger or varInt64.
TVarType NarrowestIntegerType(Int64 value);

class Variant {
public:
    Variant() = default;
    Variant(int value) : FType(varInteger), FInt(value) {}
    Variant(Int64 value) : FType(varInt64), FInt(value) {}
    Variant(bool value) : FType(varBoolean), FInt(value ? 1 : 0) {}
    Variant(double value) : FType(varDouble), FFloat(value) {}
    Variant(const String& value) : FType(varString), FText(value) {}
    Variant(const char* value) : FType(varString), FText(value) {}

    static Variant Null();
    // An integer of the given integer type; raises EVariantError when the
    // type does not hold it.
    static Variant Of(Int64 value, TVarType type);
    static Variant Single(float value);
    // Rounded to four decimals (half away from zero).
    static Variant Currency(double value);
    static Variant DateTime(TDateTime value);

    TVarType VarType() const { return FType; }
    bool IsEmpty() const { return FType == varEmpty; }
    bool IsNull() const { return FType == varNull; }
    bool IsOrdinal() const { return VarTypeIsOrdinal(FType); }
    bool IsFloat() const { return VarTypeIsFloat(FType); }

    // Conversions. Integers and floats convert among each other (floats
    // rounded half to even, and only within range), Booleans are -1 and 0
    // as numbers and "True" and "False" as text, text converts when it
    // reads as the number or Boolean asked for, and empty is 0, False and
    // ''. Anything else raises EVariantTypeCastError.
    Int64 AsInt64() const;
    int AsInteger() const;
    double AsDouble() const;
    bool AsBoolean() const;
    // Empty and null give ''; floats their shortest text (FloatToStr),
    // date-times DateTimeToStr.
    String AsString() const;
    // The currency value in ten-thousandths (only for varCurrency).
    Int64 CurrencyScaled() const { return FInt; }

    // Same type and same value.
    bool operator==(const Variant& other) const;

private:
    [[noreturn]] void CastError(TVarType to) const;

    TVarType FType = varEmpty;
    Int64 FInt = 0;     // integers, Booleans (0 or 1), currency in ten-thousandths
    double FFloat = 0;  // single, double, date-time
    String FText;
};

// The value as text, as AsString (the class library's VarToStr).
inline String VarToStr(const Variant& value) { return value.AsString(); }

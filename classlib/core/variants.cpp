#include "classlib/core/variants.h"

#include <cmath>
#include <cstdint>

String VarTypeName(TVarType type) {
    switch (type) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varSmallint: return "Smallint";
    case varInteger: return "Integer";
    case varSingle: return "Single";
    case varDouble: return "Double";
    case varCurrency: return "Currency";
    case varDate: return "Date";
    case varBoolean: return "Boolean";
    case varShortInt: return "ShortInt";
    case varByte: return "Byte";
    case varWord: return "Word";
    case varLongWord: return "LongWord";
    case varInt64: return "Int64";
    case varString: return "String";
    }
    return "Unknown";
}

bool VarTypeIsOrdinal(TVarType type) {
    switch (type) {
    case varShortInt:
    case varSmallint:
    case varInteger:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64: return true;
    default: return false;
    }
}

bool VarTypeIsFloat(TVarType type) {
    return type == varSingle || type == varDouble || type == varCurrency || type == varDate;
}

bool VarTypeHolds(TVarType type, Int64 value) {
    switch (type) {
    case varShortInt: return value >= INT8_MIN && value <= INT8_MAX;
    case varSmallint: return value >= INT16_MIN && value <= INT16_MAX;
    case varInteger: return value >= INT32_MIN && value <= INT32_MAX;
    case varByte: return value >= 0 && value <= UINT8_MAX;
    case varWord: return value >= 0 && value <= UINT16_MAX;
    case varLongWord: return value >= 0 && value <= Int64(UINT32_MAX);
    case varInt64: return true;
    default: return false;
    }
}

TVarType NarrowestIntegerType(Int64 value) {
    for (TVarType type : {varShortInt, varSmallint, varInteger})
        if (VarTypeHolds(type, value)) return type;
    return varInt64;
}

Variant Variant::Null() {
    Variant v;
    v.FType = varNull;
    return v;
}

Variant Variant::Of(Int64 value, TVarType type) {
    if (!VarTypeHolds(type, value))
        throw EVariantError(Format("%d is out of the range of a %s variant", {value, VarTypeName(type)}));
    Variant v;
    v.FType = type;
    v.FInt = value;
    return v;
}

Variant Variant::Single(float value) {
    Variant v;
    v.FType = varSingle;
    v.FFloat = value;
    return v;
}

namespace {

constexpr double CurrencyScale = 10000.0;
// 2^63: the magnitude no Int64 reaches (a currency is an Int64 of
// ten-thousandths).
constexpr double Int64Limit = 9.2233720368547758e18;

}  // namespace

Variant Variant::Currency(double value) {
    const double scaled = std::round(value * CurrencyScale);
    if (!(std::fabs(scaled) < Int64Limit))
        throw EVariantError(Format("%s is out of the range of a Currency variant", {FloatToStr(value)}));
    Variant v;
    v.FType = varCurrency;
    v.FInt = Int64(scaled);
    return v;
}

Variant Variant::DateTime(TDateTime value) {
    Variant v;
    v.FType = varDate;
    v.FFloat = value;
    return v;
}

void Variant::CastError(TVarType to) const {
    throw EVariantTypeCastError(
        Format("Could not convert variant of type (%s) into type (%s)", {VarTypeName(FType), VarTypeName(to)}));
}

Int64 Variant::AsInt64() const {
    if (IsOrdinal()) return FInt;
    switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FInt ? -1 : 0;
    case varCurrency:
    case varSingle:
    case varDouble:
    case varDate: {
        const double v = AsDouble();
        if (!(v >= -Int64Limit && v < Int64Limit)) CastError(varInt64);
        return Int64(std::nearbyint(v));  // the default rounding: half to even
    }
    case varString: {
        Int64 v;
        if (TryStrToInt64(Trim(FText), v)) return v;
        double d;
        if (TryStrToFloat(Trim(FText), d)) return Variant(d).AsInt64();
        CastError(varInt64);
    }
    default: CastError(varInt64);
    }
}

int Variant::AsInteger() const {
    const Int64 v = AsInt64();
    // Unsigned 32-bit values keep their bits, as a cast to Integer does.
    if (FType == varLongWord) return int(std::uint32_t(v));
    if (v < INT32_MIN || v > INT32_MAX) CastError(varInteger);
    return int(v);
}

double Variant::AsDouble() const {
    if (IsOrdinal()) return double(FInt);
    switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FInt ? -1 : 0;
    case varCurrency: return double(FInt) / CurrencyScale;
    case varSingle:
    case varDouble:
    case varDate: return FFloat;
    case varString: {
        double d;
        if (TryStrToFloat(Trim(FText), d)) return d;
        CastError(varDouble);
    }
    default: CastError(varDouble);
    }
}

bool Variant::AsBoolean() const {
    switch (FType) {
    case varEmpty: return false;
    case varBoolean: return FInt != 0;
    case varString: {
        const String t = Trim(FText);
        if (SameText(t, "True")) return true;
        if (SameText(t, "False")) return false;
        double d;
        if (TryStrToFloat(t, d)) return d != 0;
        CastError(varBoolean);
    }
    case varNull: CastError(varBoolean);
    default: return AsDouble() != 0;
    }
}

String Variant::AsString() const {
    if (IsOrdinal()) return IntToStr(FInt);
    switch (FType) {
    case varEmpty:
    case varNull: return String();
    case varBoolean: return FInt ? "True" : "False";
    case varSingle: return FloatToStrF(FFloat, ffGeneral, 7, 0);
    case varCurrency:
    case varDouble: return FloatToStr(AsDouble());
    case varDate: return DateTimeToStr(FFloat);
    case varString: return FText;
    default: return String();
    }
}

bool Variant::operator==(const Variant& other) const {
    if (FType != other.FType) return false;
    if (IsOrdinal() || FType == varBoolean || FType == varCurrency) return FInt == other.FInt;
    if (FType == varSingle || FType == varDouble || FType == varDate) return FFloat == other.FFloat;
    if (FType == varString) return FText == other.FText;
    return true;  // empty, null
}

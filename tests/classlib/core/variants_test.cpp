// Variants: their types, conversions and errors.
#include "classlib/core/variants.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Variant, ConstructorsGiveTheirType) {
    struct Case {
        Variant value;
        TVarType type;
        const char* text;
    };
    const Case cases[] = {
        {Variant(), varEmpty, ""},
        {Variant::Null(), varNull, ""},
        {Variant(-7), varInteger, "-7"},
        {Variant(Int64(1) << 40), varInt64, "1099511627776"},
        {Variant::Of(200, varByte), varByte, "200"},
        {Variant::Of(4000000000, varLongWord), varLongWord, "4000000000"},
        {Variant(true), varBoolean, "True"},
        {Variant(2.5), varDouble, "2.5"},
        {Variant::Single(0.1f), varSingle, "0.1"},
        {Variant::Currency(12.34567), varCurrency, "12.3457"},
        {Variant("abc"), varString, "abc"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value.VarType(), c.type) << c.text;
        EXPECT_EQ(c.value.AsString(), c.text) << VarTypeName(c.type);
    }
}

TEST(Variant, IntegerTypesHoldOnlyTheirRange) {
    EXPECT_TRUE(VarTypeHolds(varShortInt, -128));
    EXPECT_FALSE(VarTypeHolds(varShortInt, 128));
    EXPECT_FALSE(VarTypeHolds(varByte, -1));
    EXPECT_TRUE(VarTypeHolds(varWord, 65535));
    EXPECT_FALSE(VarTypeHolds(varSmallint, 32768));
    EXPECT_TRUE(VarTypeHolds(varLongWord, 4294967295));
    EXPECT_FALSE(VarTypeHolds(varInteger, 2147483648));
    EXPECT_FALSE(VarTypeHolds(varString, 0));
    EXPECT_THROW(Variant::Of(256, varByte), EVariantError);
    EXPECT_THROW(Variant::Of(1, varDouble), EVariantError);
    EXPECT_EQ(NarrowestIntegerType(-129), varSmallint);
    EXPECT_EQ(NarrowestIntegerType(127), varShortInt);
    EXPECT_EQ(NarrowestIntegerType(2147483648), varInt64);
}

TEST(Variant, ConvertsBetweenNumbersBooleansAndText) {
    EXPECT_EQ(Variant(2.5).AsInt64(), 2);  // half to even
    EXPECT_EQ(Variant(3.5).AsInt64(), 4);
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
    EXPECT_DOUBLE_EQ(Variant("1.25").AsDouble(), 1.25);
    EXPECT_DOUBLE_EQ(Variant::Currency(-0.00005).AsDouble(), -0.0001);  // half away from zero
    EXPECT_EQ(Variant::Currency(1.5).CurrencyScaled(), 15000);
    EXPECT_TRUE(Variant("true").AsBoolean());
    EXPECT_FALSE(Variant(0).AsBoolean());
    EXPECT_TRUE(Variant(0.5).AsBoolean());
    EXPECT_EQ(Variant().AsInt64(), 0);
    EXPECT_EQ(Variant::Of(4294967295, varLongWord).AsInteger(), -1);  // the bits, as a cast
    EXPECT_EQ(Variant(Int64(1) << 40).AsInt64(), Int64(1) << 40);
}

TEST(Variant, WhatCannotBeConvertedRaisesNamingBothTypes) {
    try {
        (void)Variant("abc").AsInteger();
        FAIL();
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), "Could not convert variant of type (String) into type (Int64)");
    }
    EXPECT_THROW((void)Variant::Null().AsDouble(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant::Null().AsBoolean(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant(Int64(1) << 40).AsInteger(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant(1e300).AsInt64(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant(std::nan("")).AsInt64(), EVariantTypeCastError);
    EXPECT_THROW(Variant::Currency(1e300), EVariantError);
}

TEST(Variant, EqualMeansTheSameTypeAndValue) {
    EXPECT_EQ(Variant(5), Variant(5));
    EXPECT_NE(Variant(5), Variant(Int64(5)));
    EXPECT_NE(Variant(5), Variant("5"));
    EXPECT_EQ(Variant::Null(), Variant::Null());
    EXPECT_NE(Variant(), Variant::Null());
    EXPECT_EQ(Variant::DateTime(45000.5), Variant::DateTime(45000.5));
    EXPECT_NE(Variant::DateTime(45000.5), Variant(45000.5));
}

}  // namespace

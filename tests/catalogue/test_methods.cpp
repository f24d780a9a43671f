#include "catalogue/methods.h"

#include <QSet>
#include <QTest>

#include <limits>

using namespace corvane;

namespace {

QString kindText(MethodKind kind)
{
    switch (kind) {
    case MethodKind::Constant: return QStringLiteral("constant");
    case MethodKind::Noise: return QStringLiteral("noise");
    case MethodKind::Interval: return QStringLiteral("interval");
    case MethodKind::Shuffle: return QStringLiteral("shuffle");
    case MethodKind::Null: return QStringLiteral("null");
    case MethodKind::SameLengthText: return QStringLiteral("same-length");
    case MethodKind::LoremIpsum: return QStringLiteral("lorem");
    case MethodKind::WordList: return QStringLiteral("word-list");
    }
    return QStringLiteral("?");
}

QString paramText(ParamKind kind)
{
    switch (kind) {
    case ParamKind::Unused: return QStringLiteral("-");
    case ParamKind::Number: return QStringLiteral("number");
    case ParamKind::DecimalNumber: return QStringLiteral("decimal");
    case ParamKind::Date: return QStringLiteral("date");
    case ParamKind::Text: return QStringLiteral("text");
    case ParamKind::WordListName: return QStringLiteral("list");
    }
    return QStringLiteral("?");
}

QString familyText(TypeCategory family)
{
    switch (family) {
    case tcDateTime: return QStringLiteral("datetime");
    case tcInteger: return QStringLiteral("integer");
    case tcVarchar: return QStringLiteral("varchar");
    case tcFloat: return QStringLiteral("float");
    case tcOther: break;
    }
    return QStringLiteral("other");
}

// "code family kind [FK] param1 param2", as the stored projects and the
// generated blocks read them.
const char* const Expected[] = {
    "1 datetime constant date -",         "2 datetime noise number -",
    "3 datetime shuffle - -",             "4 datetime interval date date",
    "5 datetime constant FK date -",      "6 datetime noise FK number -",
    "7 datetime shuffle FK - -",          "8 datetime interval FK date date",
    "9 datetime null - -",                "101 integer constant number -",
    "102 integer noise number -",         "103 integer interval number number",
    "104 integer shuffle - -",            "105 integer constant FK number -",
    "106 integer noise FK number -",      "107 integer interval FK number number",
    "108 integer shuffle FK - -",         "109 integer null - -",
    "1001 varchar constant text -",       "1002 varchar same-length text -",
    "1003 varchar lorem number number",   "1004 varchar shuffle - -",
    "1005 varchar constant FK text -",    "1007 varchar word-list list -",
    "1008 varchar shuffle FK - -",        "1009 varchar null - -",
    "2001 float constant decimal -",      "2002 float noise decimal number",
    "2003 float interval decimal decimal", "2004 float shuffle - -",
    "2005 float constant FK decimal -",   "2006 float noise FK decimal number",
    "2007 float interval FK decimal decimal", "2008 float shuffle FK - -",
    "2009 float null - -",
};

} // namespace

class TestMethods : public QObject
{
    Q_OBJECT

private slots:
    void everyCodeAsDocumented()
    {
        QStringList actual;
        for (const MethodInfo& m : Methods) {
            QStringList row{QString::number(m.code), familyText(m.family), kindText(m.kind)};
            if (m.foreignKey)
                row << QStringLiteral("FK");
            row << paramText(m.param1) << paramText(m.param2);
            actual << row.join(u' ');
        }
        QStringList expected;
        for (const char* row : Expected)
            expected << QString::fromLatin1(row);
        QCOMPARE(actual, expected);
    }

    // The list page counts a column as masked by its name, the generator by
    // its code: both must agree on every number a project file may hold.
    void nameAndBlockAgree()
    {
        QList<MethodCode> codes{std::numeric_limits<MethodCode>::min(),
                                std::numeric_limits<MethodCode>::max()};
        for (MethodCode code = -20; code <= 2020; ++code)
            codes << code;
        int masked = 0;
        QSet<QString> names;
        for (const MethodCode code : codes) {
            const QString name = GetMethodName(code);
            QCOMPARE(hasBlock(code), name != NoMaskName);
            if (const MethodInfo* m = methodInfo(code)) {
                QCOMPARE(m->code, code);
                names.insert(name);
                ++masked;
            }
        }
        QCOMPARE(masked, 35);
        QCOMPARE(names.size(), 35); // a name reads back to one code
    }

    // What the editor asks for: each method found again from its family, kind
    // and variant; a method without a foreign-key variant is its own.
    void foundFromFamilyAndKind()
    {
        for (const MethodInfo& m : Methods) {
            QCOMPARE(findMethod(m.family, m.kind, m.foreignKey), &m);
            const MethodInfo* onKey = findMethod(m.family, m.kind, true);
            QVERIFY(onKey);
            QCOMPARE(onKey->foreignKey ? onKey->code - 4 : onKey->code,
                     m.foreignKey ? m.code - 4 : m.code);
        }
        QCOMPARE(findMethod(tcVarchar, MethodKind::SameLengthText, true)->code, 1002);
        QCOMPARE(findMethod(tcVarchar, MethodKind::Noise), nullptr);
        QCOMPARE(findMethod(tcInteger, MethodKind::WordList), nullptr);
    }

    void noMaskCodes()
    {
        const std::pair<TypeCategory, MethodCode> bases[] = {
            {tcDateTime, 0}, {tcInteger, 100}, {tcVarchar, 1000}, {tcFloat, 2000}, {tcOther, 1000}};
        for (const auto& [family, code] : bases) {
            QCOMPARE(noMaskCode(family), code);
            QCOMPARE(noMaskFamily(code), std::optional(methodFamily(family)));
        }
        QCOMPARE(noMaskFamily(NoMethodYet), std::nullopt);
        QCOMPARE(noMaskFamily(1006), std::nullopt);
        // Only a date interval's second parameter is an exclusive end.
        QVERIFY(isExclusiveEndDate(*methodInfo(8), 2));
        QVERIFY(!isExclusiveEndDate(*methodInfo(8), 1));
        QVERIFY(!isExclusiveEndDate(*methodInfo(103), 2));
    }
};

QTEST_GUILESS_MAIN(TestMethods)
#include "test_methods.moc"

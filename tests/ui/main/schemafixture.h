#pragma once

#include <QByteArray>

namespace corvane::test {

// The schema query's answer for a small shop database: keys, a foreign key,
// nullable and unlimited text, two schemas. Rules of the TDS test server.
inline QByteArray shopSchemaRules()
{
    return R"([
  {"match": "INFORMATION_SCHEMA.TABLES",
   "columns": [{"name": "stab", "type": "nvarchar"}, {"name": "col", "type": "nvarchar"},
               {"name": "PK_Table", "type": "nvarchar"}, {"name": "PK_Column", "type": "nvarchar"},
               {"name": "Constraint_Name", "type": "nvarchar"}, {"name": "PK", "type": "nvarchar"},
               {"name": "isnull", "type": "nvarchar"}, {"name": "typ", "type": "nvarchar"},
               {"name": "char_max", "type": "int"}],
   "rows": [
     ["dbo.City", "Code", null, null, null, "Code", "NO", "varchar", 10],
     ["dbo.City", "Name", null, null, null, null, "NO", "varchar", 80],
     ["dbo.Orders", "Id", null, null, null, "Id", "NO", "int", null],
     ["dbo.Orders", "CityCode", "City", "Code", "FK_Orders_City", null, "NO", "varchar", 10],
     ["dbo.Orders", "Ordered", null, null, null, null, "NO", "datetime", null],
     ["dbo.Orders", "Total", null, null, null, null, "YES", "float", null],
     ["dbo.Orders", "Note", null, null, null, null, "YES", "varchar", -1],
     ["dbo.Person", "Id", null, null, null, "Id", "NO", "int", null],
     ["dbo.Person", "FirstName", null, null, null, null, "NO", "varchar", 50],
     ["dbo.Person", "LastName", null, null, null, null, "NO", "varchar", 50],
     ["dbo.Person", "Birthdate", null, null, null, null, "YES", "datetime", null],
     ["dbo.Person", "Salary", null, null, null, null, "YES", "money", null],
     ["sales.Person", "Id", null, null, null, "Id", "NO", "int", null],
     ["sales.Person", "Region", null, null, null, null, "YES", "nchar", 2]
   ]}
])";
}

} // namespace corvane::test

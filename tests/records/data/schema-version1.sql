-- The client database of one practice. The installer creates it once; the program only
-- opens it. Score columns take whole numbers, but keep a score typed as text as it was typed.
PRAGMA user_version = 1;

CREATE TABLE "Customers" (
    "CustomerID" INTEGER PRIMARY KEY AUTOINCREMENT,
    "LastName" TEXT,
    "FirstName" TEXT,
    "Address" TEXT,
    "City" TEXT,
    "State" TEXT,
    "ZipCode" TEXT,
    "Phone" TEXT,
    "BloodPressure" TEXT,
    "TotalCholesterol" TEXT,
    "HDL" TEXT,
    "LDL" TEXT,
    "Height" TEXT,
    "Weight" TEXT,
    "Age" TEXT,
    "Sex" TEXT,
    "Date" TEXT,
    "Medications" TEXT,
    "Notes" TEXT,
    "Field1" INTEGER,
    "Field2" INTEGER,
    "Field3" INTEGER,
    "Field4" INTEGER,
    "Field5" INTEGER,
    "Field6" INTEGER,
    "Field7" INTEGER,
    "Field8" INTEGER,
    "Field9" INTEGER,
    "Field10" INTEGER,
    "Field11" INTEGER,
    "Field12" INTEGER,
    "Field13" INTEGER,
    "Field14" INTEGER,
    "Field15" INTEGER,
    "Field16" INTEGER,
    "Field17" INTEGER,
    "Field18" INTEGER,
    "Field19" INTEGER,
    "Field20" INTEGER,
    "Field21" INTEGER,
    "Field22" INTEGER,
    "Field23" INTEGER,
    "Field24" INTEGER,
    "Field25" INTEGER,
    "Field26" INTEGER,
    "Field27" INTEGER,
    "Field28" INTEGER,
    "Field29" INTEGER,
    "Field30" INTEGER,
    "Field31" INTEGER,
    "Field32" INTEGER,
    "Field33" INTEGER,
    "Field34" INTEGER,
    "Field35" INTEGER,
    "Field36" INTEGER,
    "Field37" INTEGER,
    "Field38" INTEGER,
    "Field39" INTEGER,
    "Field40" INTEGER,
    "Field41" INTEGER,
    "Field42" INTEGER,
    "ckYesNo( 0)" INTEGER NOT NULL DEFAULT 0,
    "ckYesNo( 1)" INTEGER NOT NULL DEFAULT 0,
    "ckYesNo( 2)" INTEGER NOT NULL DEFAULT 0,
    "ckYesNo( 3)" INTEGER NOT NULL DEFAULT 0,
    "ckYesNo( 4)" INTEGER NOT NULL DEFAULT 0
);

CREATE INDEX "Customers by name" ON "Customers" ("LastName", "FirstName");
-- The client list sorts and filters by these, case-blind as the adviser types.
CREATE INDEX IF NOT EXISTS "Customers by last name" ON "Customers" ("LastName" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS "Customers by first name" ON "Customers" ("FirstName" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS "Customers by city" ON "Customers" ("City" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS "Customers by date" ON "Customers" ("Date");

CREATE VIEW "Customers Query" AS SELECT * FROM "Customers";

-- The adviser's own details: exactly one row.
CREATE TABLE "Company Info" (
    "ID" INTEGER PRIMARY KEY CHECK ("ID" = 1),
    "CoName" TEXT NOT NULL DEFAULT '',
    "LastName" TEXT NOT NULL DEFAULT '',
    "FirstName" TEXT NOT NULL DEFAULT '',
    "Address" TEXT NOT NULL DEFAULT '',
    "City" TEXT NOT NULL DEFAULT '',
    "State" TEXT NOT NULL DEFAULT '',
    "ZipCode" TEXT NOT NULL DEFAULT '',
    "Phone1" TEXT NOT NULL DEFAULT '',
    "Phone2" TEXT NOT NULL DEFAULT '',
    "Fax" TEXT NOT NULL DEFAULT '',
    "E-mail" TEXT NOT NULL DEFAULT ''
);

INSERT INTO "Company Info" ("ID") VALUES (1);

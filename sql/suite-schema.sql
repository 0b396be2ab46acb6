-- The suite's tables as arfolyam uses them. The database itself is made by
-- whoever runs this script (tests, the demo), with DEFAULT CHARACTER SET
-- WIN1250 and before this script:
--   CREATE DATABASE '<file>' USER 'SYSDBA' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1250;
-- Widths leave room beyond the usual: bank codes longer than five
-- characters, currency codes of four letters.

-- Banks (rate sources) of the suite.
CREATE TABLE VHELY (
    KOD VARCHAR(10) NOT NULL PRIMARY KEY,
    NEV VARCHAR(60)
);

-- Currencies; TIZ is written as 2 for every currency the program creates.
CREATE TABLE DEVIZA (
    KOD VARCHAR(5) NOT NULL PRIMARY KEY,
    NEV VARCHAR(40),
    TIZ SMALLINT
);

-- Company settings; only the book-keeping currency of the first row is read.
CREATE TABLE CNFKOZOS (
    KONYVDEV VARCHAR(5)
);

-- At bank BANK, from DAT on, one unit of DKOD is worth ELAD (selling), VESZ
-- (buying) and KOZEP (middle) units of DKKOD.
CREATE TABLE ARFOLYAM (
    DAT TIMESTAMP NOT NULL,
    BANK VARCHAR(10) NOT NULL,
    DKOD VARCHAR(5) NOT NULL,
    DKKOD VARCHAR(5) NOT NULL,
    ELAD DOUBLE PRECISION,
    VESZ DOUBLE PRECISION,
    KOZEP DOUBLE PRECISION
);

-- A row is identified by its key: every DELETE by key, and the look-up of a
-- day's rates, go through this index. Unique, so that two imports at once
-- can never leave a key twice.
CREATE UNIQUE INDEX ARFOLYAM_KEY ON ARFOLYAM (BANK, DKOD, DKKOD, DAT);

COMMIT;

-- Demo contents of a suite database made from sql/suite-schema.sql: a few
-- banks, the common currencies and the book-keeping currency. UTF-8; isql-fb
-- is run with -ch UTF8, and Firebird stores the text as WIN1250.

INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank');
INSERT INTO VHELY (KOD, NEV) VALUES ('OTP', 'Országos TakarékPénztár');
INSERT INTO VHELY (KOD, NEV) VALUES ('KHB', 'K&H Bank');
INSERT INTO VHELY (KOD, NEV) VALUES ('UNIC', 'UniCredit Bank');

INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'magyar forint', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('USD', 'amerikai dollár', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('GBP', 'angol font', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('CHF', 'svájci frank', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('JPY', 'japán jen', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('CZK', 'cseh korona', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('PLN', 'lengyel zloty', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('RON', 'román lej', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('SEK', 'svéd korona', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('NOK', 'norvég korona', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('DKK', 'dán korona', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('CAD', 'kanadai dollár', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('AUD', 'ausztrál dollár', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('CNY', 'kínai jüan', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('TRY', 'török líra', 2);
INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('RSD', 'szerb dinár', 2);

INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('HUF');

COMMIT;

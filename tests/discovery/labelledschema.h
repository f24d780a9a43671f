#pragma once

// A labelled schema for measuring the classifier: realistic tables of a web
// shop, payroll, a clinic and administrations in five languages, one column a
// line as "schema.table|column|type|label". The type may carry "pk" or "fk";
// the label is the category key, or "-" for a column without personal data.
// Organisations' own contact data (a store's phone) is labelled "-".
inline const char* const LabelledSchema = R"(
dbo.Customer|CustomerId|int pk|-
dbo.Customer|FirstName|nvarchar(50)|person-name
dbo.Customer|LastName|nvarchar(50)|person-name
dbo.Customer|Email|nvarchar(255)|e-mail
dbo.Customer|Phone|varchar(30)|phone
dbo.Customer|DateOfBirth|date|birth-date
dbo.Customer|CreatedAt|datetime2|-
dbo.Customer|IsActive|bit|-
dbo.Customer|LoyaltyPoints|int|-
dbo.Customer|PreferredLanguage|char(2)|-
dbo.Customer|EmailVerified|bit|-
dbo.Customer|EmailOptIn|bit|-
dbo.Customer|PasswordHash|varbinary(64)|-
dbo.Customer|Notes|nvarchar(max)|free-text
dbo.Address|AddressId|int pk|-
dbo.Address|CustomerId|int fk|-
dbo.Address|AddressLine1|nvarchar(100)|address
dbo.Address|AddressLine2|nvarchar(100)|address
dbo.Address|City|nvarchar(60)|city
dbo.Address|PostalCode|varchar(10)|postal-code
dbo.Address|CountryCode|char(2)|-
dbo.Address|AddressType|tinyint|-
dbo.Orders|OrderId|int pk|-
dbo.Orders|CustomerId|int fk|-
dbo.Orders|OrderDate|datetime|-
dbo.Orders|ShipAddress|nvarchar(60)|address
dbo.Orders|ShipCity|nvarchar(15)|city
dbo.Orders|ShipPostalCode|nvarchar(10)|postal-code
dbo.Orders|TotalAmount|decimal|-
dbo.Orders|Status|varchar(20)|-
dbo.Orders|Currency|char(3)|-
dbo.Orders|ClientIp|varchar(45)|ip-address
dbo.OrderLine|OrderLineId|int pk|-
dbo.OrderLine|OrderId|int fk|-
dbo.OrderLine|ProductId|int fk|-
dbo.OrderLine|Quantity|int|-
dbo.OrderLine|UnitPrice|money|-
dbo.OrderLine|Discount|decimal|-
dbo.Product|ProductId|int pk|-
dbo.Product|ProductName|nvarchar(100)|-
dbo.Product|Sku|varchar(20)|-
dbo.Product|Description|nvarchar(max)|-
dbo.Product|Price|money|-
dbo.Product|CategoryId|int fk|-
dbo.Product|Weight|float|-
dbo.Payment|PaymentId|int pk|-
dbo.Payment|OrderId|int fk|-
dbo.Payment|CardNumber|varchar(19)|payment-card
dbo.Payment|CardHolderName|nvarchar(100)|person-name
dbo.Payment|CardExpiry|char(5)|-
dbo.Payment|CardType|varchar(20)|-
dbo.Payment|Amount|decimal|-
dbo.Payment|PaidAt|datetime|-
dbo.Payment|Iban|varchar(34)|bank-account
dbo.WebSession|SessionId|uniqueidentifier pk|-
dbo.WebSession|UserId|int fk|-
dbo.WebSession|IPAddress|varchar(45)|ip-address
dbo.WebSession|UserAgent|nvarchar(400)|-
dbo.WebSession|StartedAt|datetime2|-
dbo.Supplier|SupplierId|int pk|-
dbo.Supplier|CompanyName|nvarchar(100)|-
dbo.Supplier|ContactName|nvarchar(100)|person-name
dbo.Supplier|ContactEmail|nvarchar(200)|e-mail
dbo.Supplier|Phone|nvarchar(30)|-
dbo.Supplier|Fax|nvarchar(30)|-
dbo.Supplier|Website|nvarchar(200)|-
dbo.Supplier|VatNumber|varchar(20)|-
dbo.Store|StoreId|int pk|-
dbo.Store|StoreName|nvarchar(100)|-
dbo.Store|City|nvarchar(50)|-
dbo.Store|OpeningHours|nvarchar(100)|-
dbo.Invoice|InvoiceId|int pk|-
dbo.Invoice|InvoiceNumber|varchar(20)|-
dbo.Invoice|InvoiceDate|date|-
dbo.Invoice|DueDate|date|-
dbo.Invoice|NetAmount|decimal|-
dbo.Invoice|TaxRate|decimal|-
dbo.Invoice|TaxId|int fk|-
dbo.Category|CategoryId|int pk|-
dbo.Category|Name|nvarchar(50)|-
dbo.Category|ParentId|int|-
dbo.Shipment|ShipmentId|int pk|-
dbo.Shipment|TrackingNumber|varchar(40)|-
dbo.Shipment|Carrier|varchar(30)|-
dbo.Shipment|ShippedAt|datetime|-
dbo.Warehouse|WarehouseId|int pk|-
dbo.Warehouse|Name|nvarchar(50)|-
dbo.Warehouse|Capacity|int|-
hr.Employee|EmployeeId|int pk|-
hr.Employee|GivenName|nvarchar(50)|person-name
hr.Employee|FamilyName|nvarchar(50)|person-name
hr.Employee|MiddleName|nvarchar(50)|person-name
hr.Employee|BirthDate|date|birth-date
hr.Employee|HireDate|date|-
hr.Employee|Salary|decimal|-
hr.Employee|SSN|char(11)|national-id
hr.Employee|JobTitle|nvarchar(50)|-
hr.Employee|DepartmentId|smallint fk|-
hr.Employee|WorkEmail|nvarchar(100)|e-mail
hr.Employee|MobilePhone|varchar(20)|phone
hr.Employee|HomeAddress|nvarchar(200)|address
hr.Employee|BankAccountNumber|varchar(30)|bank-account
hr.Employee|TaxNumber|varchar(20)|tax-id
hr.Employee|Gender|char(1)|-
hr.Employee|MaritalStatus|char(1)|-
hr.Employee|PassportNumber|varchar(20)|national-id
hr.Employee|TerminationDate|date|-
hr.Employee|EmergencyContactName|nvarchar(100)|person-name
hr.Employee|EmergencyContactPhone|varchar(20)|phone
hr.Department|DepartmentId|smallint pk|-
hr.Department|Name|nvarchar(50)|-
hr.Department|CostCenter|varchar(10)|-
hr.Department|Budget|money|-
hr.PerformanceReview|ReviewId|int pk|-
hr.PerformanceReview|ReviewDate|date|-
hr.PerformanceReview|Rating|tinyint|-
hr.PerformanceReview|ReviewerComments|nvarchar(2000)|free-text
hr.TimeSheet|EntryId|bigint pk|-
hr.TimeSheet|WorkDate|date|-
hr.TimeSheet|Hours|decimal|-
hr.TimeSheet|ProjectCode|varchar(10)|-
verw.Kunde|KundenNr|int pk|-
verw.Kunde|Vorname|nvarchar(50)|person-name
verw.Kunde|Nachname|nvarchar(50)|person-name
verw.Kunde|Geburtsdatum|date|birth-date
verw.Kunde|Strasse|nvarchar(100)|address
verw.Kunde|Hausnummer|nvarchar(10)|address
verw.Kunde|PLZ|char(5)|postal-code
verw.Kunde|Ort|nvarchar(50)|city
verw.Kunde|Telefon|varchar(30)|phone
verw.Kunde|Mobilnummer|varchar(30)|phone
verw.Kunde|EMail|nvarchar(100)|e-mail
verw.Kunde|IBAN|char(22)|bank-account
verw.Kunde|Steuernummer|varchar(20)|tax-id
verw.Kunde|Kundengruppe|tinyint|-
verw.Kunde|Umsatz|decimal|-
verw.Kunde|Erstellt|datetime|-
verw.Kunde|Bemerkung|nvarchar(500)|free-text
verw.Kunde|Land|char(2)|-
verw.Kunde|Anrede|nvarchar(10)|-
verw.Kunde|Geschlecht|char(1)|-
verw.Rechnung|RechnungNr|int pk|-
verw.Rechnung|KundenNr|int fk|-
verw.Rechnung|Rechnungsdatum|date|-
verw.Rechnung|Betrag|money|-
verw.Rechnung|Faellig|date|-
verw.Rechnung|Bezahlt|bit|-
verw.Rechnung|Zahlungsart|varchar(20)|-
verw.Mitarbeiter|PersonalNr|int pk|-
verw.Mitarbeiter|Name|nvarchar(100)|person-name
verw.Mitarbeiter|Geburtstag|date|birth-date
verw.Mitarbeiter|Eintrittsdatum|date|-
verw.Mitarbeiter|Gehalt|money|-
verw.Mitarbeiter|Sozialversicherungsnummer|varchar(12)|national-id
verw.Mitarbeiter|SteuerId|char(11)|tax-id
verw.Mitarbeiter|Bankverbindung|nvarchar(50)|bank-account
verw.Mitarbeiter|Abteilung|nvarchar(50)|-
verw.Mitarbeiter|Wohnort|nvarchar(50)|city
verw.Artikel|ArtikelNr|int pk|-
verw.Artikel|Bezeichnung|nvarchar(100)|-
verw.Artikel|Preis|money|-
verw.Artikel|Lagerbestand|int|-
verw.Artikel|Warengruppe|varchar(20)|-
ventes.Client|IdClient|int pk|-
ventes.Client|Nom|nvarchar(50)|person-name
ventes.Client|Prenom|nvarchar(50)|person-name
ventes.Client|DateNaissance|date|birth-date
ventes.Client|LieuNaissance|nvarchar(50)|city
ventes.Client|Adresse|nvarchar(200)|address
ventes.Client|CodePostal|char(5)|postal-code
ventes.Client|Ville|nvarchar(50)|city
ventes.Client|Telephone|varchar(20)|phone
ventes.Client|Portable|varchar(20)|phone
ventes.Client|Courriel|nvarchar(100)|e-mail
ventes.Client|NumeroSecu|char(15)|national-id
ventes.Client|Commentaire|nvarchar(1000)|free-text
ventes.Client|DateCreation|datetime|-
ventes.Client|Actif|bit|-
ventes.Client|Civilite|varchar(5)|-
ventes.Commande|IdCommande|int pk|-
ventes.Commande|IdClient|int fk|-
ventes.Commande|DateCommande|date|-
ventes.Commande|MontantTotal|decimal|-
ventes.Commande|Statut|varchar(20)|-
ventes.Commande|ModeLivraison|varchar(30)|-
ventes.Produit|IdProduit|int pk|-
ventes.Produit|NomProduit|nvarchar(100)|-
ventes.Produit|PrixUnitaire|money|-
ventes.Produit|Categorie|nvarchar(50)|-
ventes.Salarie|Matricule|int pk|-
ventes.Salarie|NomDeFamille|nvarchar(50)|person-name
ventes.Salarie|PrenomUsuel|nvarchar(50)|person-name
ventes.Salarie|Rib|varchar(30)|bank-account
ventes.Salarie|NumeroFiscal|varchar(13)|tax-id
ventes.Salarie|SalaireBrut|decimal|-
ventes.Salarie|DateEmbauche|date|-
ventas.Cliente|IdCliente|int pk|-
ventas.Cliente|Nombre|nvarchar(50)|person-name
ventas.Cliente|Apellidos|nvarchar(100)|person-name
ventas.Cliente|FechaNacimiento|date|birth-date
ventas.Cliente|Direccion|nvarchar(200)|address
ventas.Cliente|CodigoPostal|char(5)|postal-code
ventas.Cliente|Ciudad|nvarchar(50)|city
ventas.Cliente|Telefono|varchar(20)|phone
ventas.Cliente|Movil|varchar(20)|phone
ventas.Cliente|CorreoElectronico|nvarchar(100)|e-mail
ventas.Cliente|DNI|char(9)|national-id
ventas.Cliente|NumeroCuenta|varchar(24)|bank-account
ventas.Cliente|Observaciones|nvarchar(max)|free-text
ventas.Cliente|FechaAlta|datetime|-
ventas.Cliente|Activo|bit|-
ventas.Cliente|Saldo|decimal|-
ventas.Pedido|IdPedido|int pk|-
ventas.Pedido|IdCliente|int fk|-
ventas.Pedido|FechaPedido|date|-
ventas.Pedido|Importe|money|-
ventas.Pedido|Estado|varchar(20)|-
ventas.Producto|IdProducto|int pk|-
ventas.Producto|NombreProducto|nvarchar(100)|-
ventas.Producto|Precio|money|-
ventas.Producto|Existencias|int|-
ventas.Empleado|IdEmpleado|int pk|-
ventas.Empleado|NombreCompleto|nvarchar(150)|person-name
ventas.Empleado|NIF|char(9)|tax-id
ventas.Empleado|NumeroSeguridadSocial|varchar(12)|national-id
ventas.Empleado|Salario|decimal|-
ventas.Empleado|Departamento|varchar(50)|-
ventas.Empleado|TarjetaCredito|varchar(19)|payment-card
crm.Klant|KlantId|int pk|-
crm.Klant|Voornaam|nvarchar(50)|person-name
crm.Klant|Tussenvoegsel|nvarchar(10)|person-name
crm.Klant|Achternaam|nvarchar(50)|person-name
crm.Klant|Geboortedatum|date|birth-date
crm.Klant|Straat|nvarchar(100)|address
crm.Klant|Huisnummer|varchar(10)|address
crm.Klant|Postcode|char(7)|postal-code
crm.Klant|Woonplaats|nvarchar(50)|city
crm.Klant|Telefoonnummer|varchar(20)|phone
crm.Klant|Emailadres|nvarchar(100)|e-mail
crm.Klant|BSN|char(9)|national-id
crm.Klant|Rekeningnummer|varchar(34)|bank-account
crm.Klant|Opmerkingen|nvarchar(max)|free-text
crm.Klant|Aangemaakt|datetime|-
crm.Klant|Actief|bit|-
crm.Klant|KlantType|tinyint|-
crm.Bestelling|BestellingId|int pk|-
crm.Bestelling|Besteldatum|date|-
crm.Bestelling|Totaalbedrag|decimal|-
crm.Bestelling|Status|varchar(20)|-
crm.Bestelling|Verzendkosten|money|-
crm.Medewerker|MedewerkerId|int pk|-
crm.Medewerker|Naam|nvarchar(100)|person-name
crm.Medewerker|Geboorteplaats|nvarchar(50)|city
crm.Medewerker|Salaris|decimal|-
crm.Medewerker|Functie|nvarchar(50)|-
clinic.patient|patient_id|int pk|-
clinic.patient|first_name|varchar(50)|person-name
clinic.patient|last_name|varchar(50)|person-name
clinic.patient|dob|date|birth-date
clinic.patient|sex|char(1)|-
clinic.patient|national_insurance_no|varchar(13)|national-id
clinic.patient|phone_home|varchar(20)|phone
clinic.patient|email_addr|varchar(120)|e-mail
clinic.patient|street_address|varchar(120)|address
clinic.patient|zip_code|varchar(10)|postal-code
clinic.patient|city|varchar(60)|city
clinic.patient|admitted_at|datetime|-
clinic.patient|ward_id|int fk|-
clinic.patient|blood_type|varchar(3)|-
clinic.visit|visit_id|bigint pk|-
clinic.visit|visit_date|datetime2|-
clinic.visit|diagnosis|nvarchar(max)|free-text
clinic.visit|doctor_notes|nvarchar(max)|free-text
clinic.visit|cost|decimal|-
clinic.visit|icd10_code|varchar(8)|-
clinic.lab_result|result_id|int pk|-
clinic.lab_result|test_code|varchar(10)|-
clinic.lab_result|value_numeric|float|-
clinic.lab_result|unit|varchar(10)|-
clinic.lab_result|measured_at|datetime|-
sys_app.AuditLog|AuditId|bigint pk|-
sys_app.AuditLog|TableName|sysname|-
sys_app.AuditLog|ColumnName|sysname|-
sys_app.AuditLog|ChangedAt|datetime2|-
sys_app.AuditLog|RemoteIp|varchar(45)|ip-address
sys_app.AuditLog|Action|char(1)|-
sys_app.Setting|SettingKey|varchar(100) pk|-
sys_app.Setting|SettingValue|nvarchar(max)|-
sys_app.Setting|UpdatedAt|datetime|-
sys_app.MailQueue|MailId|int pk|-
sys_app.MailQueue|Subject|nvarchar(200)|-
sys_app.MailQueue|Body|nvarchar(max)|free-text
sys_app.MailQueue|SentAt|datetime|-
sys_app.MailQueue|Attempts|int|-
sys_app.MailQueue|SmtpServer|varchar(100)|-
sys_app.MailQueue|EmailTemplate|varchar(50)|-
sys_app.Device|DeviceId|int pk|-
sys_app.Device|MacAddress|char(17)|-
sys_app.Device|HostName|varchar(100)|-
sys_app.Device|SerialNumber|varchar(50)|-
sys_app.Device|FirmwareVersion|varchar(20)|-
sys_app.Device|LastSeenIp|varchar(45)|ip-address
)";

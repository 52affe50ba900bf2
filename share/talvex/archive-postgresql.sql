-- A Talvex results archive shared by workstations on PostgreSQL: the database and its two roles.
--
-- Run once as a superuser:   psql -v ON_ERROR_STOP=1 -d postgres -f archive-postgresql.sql
-- then let the program create its tables as the owner, once:
--     talvex-cli archive list --archive postgresql://talvex_admin@SERVER/talvex_archive
-- and point the workstations at postgresql://talvex@SERVER/talvex_archive. Set the roles' passwords
-- (ALTER ROLE ... PASSWORD) and pg_hba.conf as the laboratory's network asks.
--
-- talvex_admin owns the tables and runs the program's migrations (after an update of the program, open
-- the archive once as talvex_admin). talvex, the workstations' role, may only read and add rows: the
-- archive keeps every record as it was written, and its triggers refuse UPDATE and DELETE besides.

CREATE ROLE talvex_admin LOGIN;
CREATE ROLE talvex LOGIN;
CREATE DATABASE talvex_archive OWNER talvex_admin ENCODING 'UTF8' TEMPLATE template0;

\connect talvex_archive

REVOKE ALL ON DATABASE talvex_archive FROM PUBLIC;
GRANT CONNECT ON DATABASE talvex_archive TO talvex_admin, talvex;
REVOKE ALL ON SCHEMA public FROM PUBLIC;
GRANT USAGE, CREATE ON SCHEMA public TO talvex_admin;
GRANT USAGE ON SCHEMA public TO talvex;

-- Every table and sequence talvex_admin creates, now and in later migrations.
ALTER DEFAULT PRIVILEGES FOR ROLE talvex_admin IN SCHEMA public GRANT SELECT, INSERT ON TABLES TO talvex;
ALTER DEFAULT PRIVILEGES FOR ROLE talvex_admin IN SCHEMA public GRANT USAGE ON SEQUENCES TO talvex;

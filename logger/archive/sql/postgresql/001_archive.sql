-- The archive's tables. Every table is append-only: the triggers at the end
-- refuse to change, remove or truncate rows, so a stored download and its
-- readings stay as they were stored; a deletion is a row of its own.

-- One row per stored download file.
CREATE TABLE downloads (
    id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    serial BIGINT NOT NULL,
    kind TEXT NOT NULL CHECK (kind IN ('series', 'event')),
    logger_name TEXT NOT NULL,                -- UTF-8
    heading TEXT NOT NULL,                    -- the reading's heading, UTF-8
    header BYTEA NOT NULL,                    -- the header line as written (Windows-1252)
    first_time BIGINT,                        -- clock seconds of the first and last row
    last_time BIGINT,
    readings INTEGER NOT NULL,                -- data rows of the file
    interval_s INTEGER NOT NULL,              -- seconds between rows; 0 with one row
    decimals INTEGER NOT NULL,                -- digits after the point: reading,
    humidity_decimals INTEGER NOT NULL,       -- humidity,
    dew_point_decimals INTEGER NOT NULL,      -- dew point
    alarm_fields BYTEA NOT NULL,              -- the first row's alarm fields (",25.0,5.0")
    humidity_alarm_fields BYTEA NOT NULL,
    first_row_extras BYTEA NOT NULL,          -- what follows the channels on the first row
    source_name TEXT NOT NULL,                -- the file's name
    original BYTEA NOT NULL,                  -- the file's bytes, zlib-compressed
    original_size BIGINT NOT NULL,
    sha256 TEXT NOT NULL UNIQUE,              -- of the original bytes, hexadecimal
    stored_at BIGINT NOT NULL,                -- Unix seconds (UTC)
    stored_by TEXT NOT NULL                   -- the system user
);
CREATE INDEX downloads_by_logger ON downloads (serial, first_time);

-- The merged series: one reading per logger and time, from the download
-- that brought it first. No foreign key on download_id: each reading is
-- stored in the transaction of its download, rows are never removed, and a
-- check per reading would double the time of an import.
CREATE TABLE readings (
    serial BIGINT NOT NULL,
    reading_time BIGINT NOT NULL,             -- clock seconds (the logger's clock, no time zone)
    download_id BIGINT NOT NULL,                 -- downloads (id): stored in its transaction, never removed
    reading DOUBLE PRECISION NOT NULL,
    humidity DOUBLE PRECISION,
    dew_point DOUBLE PRECISION,
    PRIMARY KEY (serial, reading_time)
);

-- A later download's reading that differs from the one kept.
CREATE TABLE conflicts (
    id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    serial BIGINT NOT NULL,
    reading_time BIGINT NOT NULL,
    download_id BIGINT NOT NULL REFERENCES downloads (id),
    kept_download_id BIGINT NOT NULL REFERENCES downloads (id),
    reading DOUBLE PRECISION NOT NULL,
    humidity DOUBLE PRECISION,
    dew_point DOUBLE PRECISION
);
CREATE INDEX conflicts_by_logger ON conflicts (serial, reading_time);
CREATE INDEX conflicts_by_download ON conflicts (download_id);

-- A download hidden from lists, exports and the viewer; its rows stay.
CREATE TABLE deletions (
    download_id BIGINT PRIMARY KEY REFERENCES downloads (id),
    deleted_at BIGINT NOT NULL,
    deleted_by TEXT NOT NULL,
    reason TEXT NOT NULL
);

CREATE FUNCTION archive_refuse_change() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    RAISE EXCEPTION 'the archive is append-only: % rows are never changed or removed', TG_TABLE_NAME;
END
$$;

CREATE TRIGGER downloads_append_only BEFORE UPDATE OR DELETE ON downloads
    FOR EACH ROW EXECUTE FUNCTION archive_refuse_change();
CREATE TRIGGER downloads_no_truncate BEFORE TRUNCATE ON downloads
    FOR EACH STATEMENT EXECUTE FUNCTION archive_refuse_change();
CREATE TRIGGER readings_append_only BEFORE UPDATE OR DELETE ON readings
    FOR EACH ROW EXECUTE FUNCTION archive_refuse_change();
CREATE TRIGGER readings_no_truncate BEFORE TRUNCATE ON readings
    FOR EACH STATEMENT EXECUTE FUNCTION archive_refuse_change();
CREATE TRIGGER conflicts_append_only BEFORE UPDATE OR DELETE ON conflicts
    FOR EACH ROW EXECUTE FUNCTION archive_refuse_change();
CREATE TRIGGER conflicts_no_truncate BEFORE TRUNCATE ON conflicts
    FOR EACH STATEMENT EXECUTE FUNCTION archive_refuse_change();
CREATE TRIGGER deletions_append_only BEFORE UPDATE OR DELETE ON deletions
    FOR EACH ROW EXECUTE FUNCTION archive_refuse_change();
CREATE TRIGGER deletions_no_truncate BEFORE TRUNCATE ON deletions
    FOR EACH STATEMENT EXECUTE FUNCTION archive_refuse_change();

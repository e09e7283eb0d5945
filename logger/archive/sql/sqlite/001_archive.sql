-- The archive's tables. Every table is append-only: the triggers at the end
-- refuse to change or remove a row, so a stored download and its readings
-- stay as they were stored; a deletion is a row of its own.

-- One row per stored download file.
CREATE TABLE downloads (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    serial INTEGER NOT NULL,
    kind TEXT NOT NULL CHECK (kind IN ('series', 'event')),
    logger_name TEXT NOT NULL,                -- UTF-8
    heading TEXT NOT NULL,                    -- the reading's heading, UTF-8
    header BLOB NOT NULL,                     -- the header line as written (Windows-1252)
    first_time INTEGER,                       -- clock seconds of the first and last row
    last_time INTEGER,
    readings INTEGER NOT NULL,                -- data rows of the file
    interval_s INTEGER NOT NULL,              -- seconds between rows; 0 with one row
    decimals INTEGER NOT NULL,                -- digits after the point: reading,
    humidity_decimals INTEGER NOT NULL,       -- humidity,
    dew_point_decimals INTEGER NOT NULL,      -- dew point
    alarm_fields BLOB NOT NULL,               -- the first row's alarm fields (",25.0,5.0")
    humidity_alarm_fields BLOB NOT NULL,
    first_row_extras BLOB NOT NULL,           -- what follows the channels on the first row
    source_name TEXT NOT NULL,                -- the file's name
    original BLOB NOT NULL,                   -- the file's bytes, zlib-compressed
    original_size INTEGER NOT NULL,
    sha256 TEXT NOT NULL UNIQUE,              -- of the original bytes, hexadecimal
    stored_at INTEGER NOT NULL,               -- Unix seconds (UTC)
    stored_by TEXT NOT NULL                   -- the system user
);
CREATE INDEX downloads_by_logger ON downloads (serial, first_time);

-- The merged series: one reading per logger and time, from the download
-- that brought it first. No foreign key on download_id: each reading is
-- stored in the transaction of its download, rows are never removed, and a
-- check per reading would double the time of an import. The value columns have no declared type, so SQLite
-- keeps each double exactly as stored (a REAL column would turn -0.0 into 0).
CREATE TABLE readings (
    serial INTEGER NOT NULL,
    reading_time INTEGER NOT NULL,            -- clock seconds (the logger's clock, no time zone)
    download_id INTEGER NOT NULL,                 -- downloads (id): stored in its transaction, never removed
    reading NOT NULL,
    humidity,
    dew_point,
    PRIMARY KEY (serial, reading_time)
) WITHOUT ROWID;

-- A later download's reading that differs from the one kept.
CREATE TABLE conflicts (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    serial INTEGER NOT NULL,
    reading_time INTEGER NOT NULL,
    download_id INTEGER NOT NULL REFERENCES downloads (id),
    kept_download_id INTEGER NOT NULL REFERENCES downloads (id),
    reading NOT NULL,
    humidity,
    dew_point
);
CREATE INDEX conflicts_by_logger ON conflicts (serial, reading_time);
CREATE INDEX conflicts_by_download ON conflicts (download_id);

-- A download hidden from lists, exports and the viewer; its rows stay.
CREATE TABLE deletions (
    download_id INTEGER PRIMARY KEY REFERENCES downloads (id),
    deleted_at INTEGER NOT NULL,
    deleted_by TEXT NOT NULL,
    reason TEXT NOT NULL
);

CREATE TRIGGER downloads_no_update BEFORE UPDATE ON downloads
BEGIN SELECT RAISE(ABORT, 'the archive is append-only: downloads are never changed'); END;
CREATE TRIGGER downloads_no_delete BEFORE DELETE ON downloads
BEGIN SELECT RAISE(ABORT, 'the archive is append-only: downloads are never removed'); END;
CREATE TRIGGER readings_no_update BEFORE UPDATE ON readings
BEGIN SELECT RAISE(ABORT, 'the archive is append-only: readings are never changed'); END;
CREATE TRIGGER readings_no_delete BEFORE DELETE ON readings
BEGIN SELECT RAISE(ABORT, 'the archive is append-only: readings are never removed'); END;
CREATE TRIGGER conflicts_no_update BEFORE UPDATE ON conflicts
BEGIN SELECT RAISE(ABORT, 'the archive is append-only: conflicts are never changed'); END;
CREATE TRIGGER conflicts_no_delete BEFORE DELETE ON conflicts
BEGIN SELECT RAISE(ABORT, 'the archive is append-only: conflicts are never removed'); END;
CREATE TRIGGER deletions_no_update BEFORE UPDATE ON deletions
BEGIN SELECT RAISE(ABORT, 'the archive is append-only: deletions are never changed'); END;
CREATE TRIGGER deletions_no_delete BEFORE DELETE ON deletions
BEGIN SELECT RAISE(ABORT, 'the archive is append-only: deletions are never removed'); END;

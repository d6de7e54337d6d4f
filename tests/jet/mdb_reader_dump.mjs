// Prints the user tables of an Access file as JSON, read by the npm package
// mdb-reader, an implementation independent of ours:
//   node mdb_reader_dump.mjs FILE [PASSWORD]
// The folder holding node_modules comes from ORVDB_NODE_MODULES.
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

const [file, password] = process.argv.slice(2);
if (!file) {
    console.error("usage: node mdb_reader_dump.mjs FILE [PASSWORD]");
    process.exit(2);
}
const modules = process.env.ORVDB_NODE_MODULES;
if (!modules) {
    console.error("ORVDB_NODE_MODULES must name the folder holding mdb-reader");
    process.exit(2);
}
// Resolved from that folder, not from this script's.
const require = createRequire(join(modules, "noop.js"));
const { default: MDBReader } = await import(pathToFileURL(require.resolve("mdb-reader")).href);

// JSON has no bytes, dates or big integers: each gets a text form.
function plain(value) {
    if (value === null || value === undefined) return null;
    if (Buffer.isBuffer(value)) return "0x" + value.toString("hex");
    if (value instanceof Date) return isNaN(value.getTime()) ? "invalid date" : value.toISOString();
    if (typeof value === "bigint") return value.toString();
    if (typeof value === "number" && !Number.isFinite(value)) return String(value);
    if (Array.isArray(value)) return value.map(plain);
    return value;
}

const reader = new MDBReader(readFileSync(file), { password });
const tables = [];
for (const name of reader.getTableNames().sort()) {
    try {
        const table = reader.getTable(name);
        const columns = table.getColumns().map((column) => ({ name: column.name, type: column.type }));
        // Row order is physical order, which a rewrite may change (rows
        // that moved on update are read where they now live): sort them.
        const rows = table
            .getData()
            .map((row) => columns.map((column) => plain(row[column.name])))
            .map((row) => [JSON.stringify(row), row])
            .sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0))
            .map(([, row]) => row);
        tables.push({ name, columns, rows });
    } catch (error) {
        tables.push({ name, error: String(error.message ?? error) });
    }
}
process.stdout.write(JSON.stringify({ tables }, null, 1) + "\n");

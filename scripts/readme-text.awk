# Plain text for admins from docs/admin.md, headed by `title` in place of the document's own
# first heading, with the Markdown marks taken out: headings underlined, code blocks indented,
# bold words upper-cased, links reduced to their text, tables laid out in columns (the last one
# wrapped within `width`). Expects ASCII text; line ends are left to the caller. Fails on a
# document without text.
#   awk -v title="Nimbra VORTAG 1.0.0" -f scripts/readme-text.awk docs/admin.md

BEGIN {
    width = 100
    underline(title, "=")
    blank = 1
}

NR == 1 && /^# / { next }
!/^[ \t]*$/ { lines++ }

/^```/ { code = !code; next }
code   { emit("    " $0); next }

/^\|/ { rows[++nrows] = $0; next }
{ flush_table() }

/^#+ / {
    level = index($0, " ") - 1
    if (!blank) emit("")
    underline(inline(substr($0, level + 2)), level <= 2 ? "=" : "-")
    next
}

/^<!--/ { next }

/^[ \t]*$/ { if (!blank) emit(""); next }

{ emit(inline($0)) }

END {
    flush_table()
    if (!lines) {
        print "readme-text: " FILENAME " holds no text" > "/dev/stderr"
        exit 1
    }
}

function emit(line) {
    print line
    blank = (line == "")
}

function underline(text, mark) {
    emit(text)
    emit(repeat(mark, length(text)))
    emit("")
}

# Code spans lose their backticks, bold spans become capitals, links keep only their text.
function inline(text,    out, span) {
    gsub(/`/, "", text)
    out = ""
    while (match(text, /\*\*[^*]+\*\*/)) {
        out = out substr(text, 1, RSTART - 1) toupper(substr(text, RSTART + 2, RLENGTH - 4))
        text = substr(text, RSTART + RLENGTH)
    }
    text = out text
    out = ""
    while (match(text, /\[[^]]*\]\([^)]*\)/)) {
        span = substr(text, RSTART, RLENGTH)
        out = out substr(text, 1, RSTART - 1) substr(span, 2, index(span, "](") - 2)
        text = substr(text, RSTART + RLENGTH)
    }
    return out text
}

function repeat(mark, n,    text) {
    text = ""
    while (length(text) < n) text = text mark
    return text
}

function pad(text, size) {
    return text repeat(" ", size - length(text))
}

# The table collected in rows[]: columns two spaces apart, the header underlined, the
# separator row of the Markdown left out.
function flush_table(    r, c, n, cells, cell, widths, columns, indent, room, line) {
    if (!nrows) return
    columns = 0
    for (r = 1; r <= nrows; r++) {
        n = split(rows[r], cells, "|") - 2
        if (n > columns) columns = n
        for (c = 1; c <= n; c++) {
            cell = inline(cells[c + 1])
            gsub(/^ +| +$/, "", cell)
            if (cell ~ /^-+$/) cell = ""
            table[r, c] = cell
            if (length(cell) > widths[c]) widths[c] = length(cell)
        }
    }
    indent = 0
    for (c = 1; c < columns; c++) indent += widths[c] + 2
    room = width - indent
    for (r = 1; r <= nrows; r++) {
        if (rows[r] ~ /^[|: -]+$/) continue
        line = ""
        for (c = 1; c < columns; c++) line = line pad(table[r, c], widths[c] + 2)
        wrap_cell(line, table[r, columns], indent, room < 30 ? length(table[r, columns]) : room)
        if (r == 1) {
            line = ""
            for (c = 1; c <= columns; c++) line = line pad(repeat("-", length(table[1, c])), widths[c] + 2)
            emit_trimmed(line)
        }
    }
    for (r = 1; r <= nrows; r++) for (c = 1; c <= columns; c++) delete table[r, c]
    for (c = 1; c <= columns; c++) delete widths[c]
    nrows = 0
}

# The last cell of a row after `lead`, in lines of at most `room` characters, each further line
# indented to the cell's column.
function wrap_cell(lead, text, indent, room,    n, words, i, line) {
    n = split(text, words, " ")
    line = ""
    for (i = 1; i <= n; i++) {
        if (line != "" && length(line) + 1 + length(words[i]) > room) {
            emit_trimmed(lead line)
            lead = repeat(" ", indent)
            line = ""
        }
        line = line == "" ? words[i] : line " " words[i]
    }
    emit_trimmed(lead line)
}

function emit_trimmed(line) {
    sub(/ +$/, "", line)
    emit(line)
}

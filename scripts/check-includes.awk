# Finds every include directive of the files it reads and judges it against the layers of src/.
# Run from src/ with paths relative to it (scripts/check-includes.sh does). Variables:
#   srcabs   the absolute path of src/
#   resdir   the resource folder, searched for quoted names after src/
#   folders  the folders of src/, blank-separated
#   layers   "folder=what it may include;..." (itself is always allowed)
# Reads the directives as the compiler does: lines joined at a backslash before the line end,
# comments blanked, "#" or "%:" then blanks, include, include_next or import; quoted and
# angle-bracketed names with or without blanks. A name is resolved as the compiler would (a quoted
# one beside the including file first, then in src/), so "../mainwindow/x.h" is seen for what
# it is. Prints each include that crosses the line to standard error, the number judged to
# standard output, and exits 1 when one crossed or could not be judged.

function normalise(path,    parts, n, i, out, depth, stack) {
  n = split(path, parts, "/")
  depth = 0
  for (i = 1; i <= n; i++) {
    if (parts[i] == "" || parts[i] == ".") continue
    if (parts[i] == "..") { if (depth > 0) depth--; continue }
    stack[++depth] = parts[i]
  }
  out = ""
  for (i = 1; i <= depth; i++) out = out "/" stack[i]
  return out
}

function exists(path,    line, r) {
  r = (getline line < path)
  if (r >= 0) close(path)
  return r >= 0
}

# The line with its comments blanked; string literals kept whole, raw ones across lines too.
function strip(line,    out, i, n, c, p, j, delim) {
  out = ""
  i = 1
  n = length(line)
  while (i <= n) {
    if (inComment) {
      p = index(substr(line, i), "*/")
      if (!p) return out " "
      i += p + 1
      inComment = 0
      out = out " "
      continue
    }
    if (rawEnd != "") {
      p = index(substr(line, i), rawEnd)
      if (!p) return out
      i += p - 1 + length(rawEnd)
      rawEnd = ""
      out = out "\"\""
      continue
    }
    c = substr(line, i, 1)
    if (substr(line, i, 2) == "/*") { inComment = 1; i += 2; continue }
    if (substr(line, i, 2) == "//") return out
    if (c == "\"" && substr(line, 1, i - 1) ~ /(^|[^A-Za-z0-9_])(u8|u|U|L)?R$/) {
      p = index(substr(line, i + 1), "(")
      if (p) {
        delim = substr(line, i + 1, p - 1)
        rawEnd = ")" delim "\""
        i += p + 1
        continue
      }
    }
    if (c == "\"" || c == "\047") {
      for (j = i + 1; j <= n; j++) {
        if (substr(line, j, 1) == "\\") { j++; continue }
        if (substr(line, j, 1) == c) break
      }
      out = out substr(line, i, j - i + 1)
      i = j + 1
      continue
    }
    out = out c
    i++
  }
  return out
}

# The folder of src/ that an include names, or "" when it names nothing of ours.
function folderOf(file, form, target,    dir, path) {
  dir = file
  sub(/\/[^\/]*$/, "", dir)
  path = ""
  if (form == "q") {
    if (exists(srcabs "/" dir "/" target)) path = normalise(srcabs "/" dir "/" target)
    else if (!exists(srcabs "/" target) && exists(resdir "/" target)) return ""
  }
  if (path == "") path = normalise(srcabs "/" target)
  if (index(path, srcabs "/") != 1) return ""
  path = substr(path, length(srcabs) + 2)
  if (index(path, "/") == 0) return ""
  path = substr(path, 1, index(path, "/") - 1)
  return (path in known) ? path : ""
}

function judge(file, line,    code, rest, form, target, spelled, own, top) {
  code = strip(line)
  if (!match(code, /^[ \t\f\v]*(#|%:)[ \t\f\v]*(include_next|include|import)/)) return
  rest = substr(code, RSTART + RLENGTH)
  if (rest ~ /^[A-Za-z0-9_]/) return  # "#includes" and the like are no include
  sub(/^[ \t\f\v]+/, "", rest)
  checked++
  if (match(rest, /^"[^"]*"/)) form = "q"
  else if (match(rest, /^<[^>]*>/)) form = "a"
  else {
    print "src/" file ": \"" code "\" names no file in quotes or angle brackets, so it cannot be judged" > "/dev/stderr"
    bad = 1
    return
  }
  spelled = substr(rest, RSTART, RLENGTH)
  target = substr(spelled, 2, length(spelled) - 2)
  own = substr(file, 1, index(file, "/") - 1)
  top = folderOf(file, form, target)
  if (top == "" || top == own || index(" " allowed[own] " ", " " top " ")) return
  print "src/" file " includes " spelled ": " own " may not include " top > "/dev/stderr"
  bad = 1
}

BEGIN {
  n = split(folders, list, " ")
  for (i = 1; i <= n; i++) known[list[i]] = 1
  n = split(layers, list, ";")
  for (i = 1; i <= n; i++) {
    if (index(list[i], "=") == 0) continue
    allowed[substr(list[i], 1, index(list[i], "=") - 1)] = substr(list[i], index(list[i], "=") + 1)
  }
}

FNR == 1 { pending = ""; inComment = 0; rawEnd = "" }

{
  line = $0
  sub(/\r$/, "", line)
  if (sub(/\\$/, "", line)) { pending = pending line; next }
  judge(FILENAME, pending line)
  pending = ""
}

END {
  print checked + 0
  exit bad
}

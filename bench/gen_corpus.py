#!/usr/bin/env python3
"""Write a synthetic PureBasic program for the benchmarks.

    python3 bench/gen_corpus.py --scale 1 --seed 1 --out DIR

DIR gets main.pb and a tree of include files a few folders deep, NAMES (every
procedure name, one per line, for `rg -F -f NAMES`) and SUMMARY (the figures
below as key=value lines, read by bench/run.sh).  Scale 1 is about the size of
a large real program (130 files, 120,000 lines, 4.4 MB, 1,600 procedures,
9,400 call lines); scale 10 has ten times as many files and procedures.  The
same scale and seed always give the same bytes.

Includes follow PureBasic's own rules (relative names resolve against the
including file's folder, or against the folder of the last IncludePath), so
every file is reached exactly once from main.pb whichever order a reader takes.
Standard library only.
"""

import argparse
import bisect
import os
import random
import shutil
import sys

# ---------------------------------------------------------------------------
# Word pools

VERBS = (
    "Init Load Save Update Draw Get Set Find Parse Build Check Free Create Handle Read "
    "Write Open Close Refresh Sort Add Remove Show Hide Count Reset Apply Convert Format "
    "Select Insert Delete Copy Move Resize Validate Compute Render Send Receive Encode "
    "Decode Register Lookup Merge Split Scan Emit Push Pop Toggle Enable Disable Attach "
    "Detach Clear Fill Store Fetch Measure Notify Process Dispatch Report Export Import "
    "Compare Flush Start Stop").split()
NOUNS = (
    "Window Gadget List Item File Path Config Buffer Token Node Tree Image Font Color Menu "
    "Status Text Line Column Row Entry Record Field Project Source Target Cache Index Page "
    "Panel Dialog Event Timer Thread Socket Packet Header Style Theme Brush Shape Layer "
    "Sprite Sound Map Array Number Value Key Cursor Selection Range Document Session User "
    "Account Message Queue Stack Table Query Result Filter Pattern Rule Option Setting "
    "Preference Toolbar Icon Label Button Tab Splitter Scroll Canvas Chart Graph Point "
    "Rect Margin Layout Plugin Script Symbol Keyword Comment Block Region Frame Resource "
    "Stream Archive Folder Drive Printer Clipboard Log Error Warning Hint Task Job Worker "
    "Signal Channel Port Address Host Client Server Request Response Cookie Body "
    "Attribute Node").split()
SUFFIXES = (
    "Ex All ByName ById FromFile ToFile At Count Size State Data Info List Text Width "
    "Height Flags Callback Async Safe Default Raw").split()
FOLDER_WORDS = (
    "core util gui dialogs net proto data io model view render audio plugins common "
    "platform linux text parser lexer export import tools db cache config themes widgets "
    "editor project build debug help print search images fonts network http json xml "
    "storage history session undo layout styles icons charts reports scripting").split()
FILE_WORDS = (
    "strings memory lists maps files paths settings prefs window toolbar statusbar menu "
    "events timers threads mutex sockets packets encoder decoder tokens scanner parser "
    "syntax highlight folding indent clipboard history undo redo search replace filter "
    "sort compare format convert export import printer preview canvas chart graph grid "
    "table tree nodes cache index logger errors dialogs about options keys shortcuts "
    "plugins scripts macros symbols project session recent archive zip checksum crypto "
    "random math vector matrix color palette images icons fonts layout splitter tabs "
    "panels docking theme styles locale language help update network http url json xml "
    "csv database query records fields forms wizard").split()
GLOBAL_NOUNS = NOUNS + ("Count Mode Flags State Width Height Total Offset Timeout Retries "
                        "Level Version Language Changed Busy Quit").split()
FIELDS = ("x y w h id flags count size len pos next prev parent value name text path "
          "kind state color style index data first last owner total").split()
INT_LOCALS = ("i j k n count position length posX posY width height success itemIndex total "
              "bufferSize flags mode lineNumber charCount offset").split()
STR_LOCALS = ("line$ fileName$ path$ key$ value$ message$ part$ resultText$ buffer$ "
              "title$").split()
PTR_LOCALS = "*memory *buffer *item *node *current *source *target *entry".split()
COMMENT_WORDS = (
    "update the state first keep the order guard against empty input may be slow "
    "called once per event see the notes above fix for the last release check bounds "
    "the list must not be empty free it later one based index cached value TODO FIXME "
    "must stay in sync with the file format").split()
LITERALS = (
    "OK", "Error; retry (y/n)", "(none)", "a;b;c", "Done.", "Loading (", "path/to/file.txt",
    "key=value; flags", "Cannot open file: ", "[", "]", "; not a comment", "x(1)", "", " ",
    "Line (", "Größe", "Übersicht", "Zeile; Spalte", "name", "value", "%d items", ");",
    "Save changes?", "Datei (neu)", "\\", "*.pb;*.pbi", "http://localhost:8080/",
)

BUILTINS = (
    "Str Val Len Mid Left Right Trim LCase UCase FindString ReplaceString StringField "
    "CountString AllocateMemory FreeMemory PeekL PokeL PeekS PokeS MemorySize AddElement "
    "ListSize ClearList ResetList NextElement Random Abs Int Round Bool SizeOf Chr Asc Hex "
    "ReadString WriteStringN ReadFile CreateFile CloseFile Eof Lof ElapsedMilliseconds "
    "Delay SetGadgetText GetGadgetText SetGadgetState GetGadgetState AddGadgetItem "
    "ClearGadgetItems DisableGadget HideGadget MessageRequester OpenWindow WaitWindowEvent "
    "EventGadget EventType CreateMutex LockMutex UnlockMutex OpenFile FileSize Debug "
    "CreateImage FreeImage LoadFont FreeGadget CreateThread WaitThread").split()
RESERVED = {b.lower() for b in BUILTINS}

PROC_FORMS = (  # (keyword, weight)
    ("Procedure", 44), ("Procedure.i", 20), ("Procedure.s", 12), ("Procedure.l", 4),
    ("Procedure.q", 1), ("Procedure.d", 2), ("Procedure.f", 1), ("ProcedureC", 5),
    ("ProcedureC.i", 2), ("ProcedureDLL", 5), ("ProcedureDLL.s", 2), ("ProcedureCDLL", 2))

SCALE1 = {"files": 130, "procedures": 1600, "call_lines": 9400}
BODY_MEDIAN = 49      # lines of a typical procedure body; sets lines and bytes per procedure
CALL_RATE = 0.118     # share of plain statements that call a procedure of the program


class Proc:
    __slots__ = ("name", "form", "file", "module", "nparams", "callable", "calls", "idx")

    def __init__(self, name, form, file, module, nparams, idx):
        self.name, self.form, self.file, self.module = name, form, file, module
        self.nparams, self.idx = nparams, idx
        self.callable = True
        self.calls = 0


class SrcFile:
    __slots__ = ("rel", "folder", "name", "children", "includer", "is_hub", "procs",
                 "module", "bom", "crlf", "latin1", "indent", "kind", "has_declares")

    def __init__(self, rel, folder, kind):
        self.rel, self.folder, self.kind = rel, folder, kind
        self.name = rel.rsplit("/", 1)[-1]
        self.children = []
        self.includer = None
        self.is_hub = kind == "hub"
        self.procs = []
        self.module = None
        self.bom = self.crlf = self.latin1 = self.has_declares = False
        self.indent = "  "


class Generator:
    def __init__(self, scale, seed):
        self.scale = scale
        self.rng = random.Random(seed * 1_000_003 + int(round(scale * 1000)))
        self.used_names = set(RESERVED)
        self.files = []
        self.procs = []
        self.globals = []        # (name, kind) kind: int, str, ptr, list, array, struct
        self.global_uses = []
        self.structs = []        # (name, [fields])
        self.constants = []
        self.stats = {"call_lines": 0, "string_mentions": 0}

    # -- small helpers ------------------------------------------------------

    def pick(self, seq):
        return seq[self.rng.randrange(len(seq))]

    def chance(self, p):
        return self.rng.random() < p

    def unique(self, make):
        for _ in range(1000):
            name = make()
            if name.lower() not in self.used_names:
                self.used_names.add(name.lower())
                return name
        n = 2
        base = make()
        while (base + str(n)).lower() in self.used_names:
            n += 1
        self.used_names.add((base + str(n)).lower())
        return base + str(n)

    def proc_name(self):
        def make():
            name = self.pick(VERBS) + self.pick(NOUNS)
            if self.chance(0.45):
                name += self.pick(SUFFIXES)
            return name
        return self.unique(make)

    # -- planning -----------------------------------------------------------

    def plan(self):
        rng = self.rng
        nfiles = max(8, int(round(SCALE1["files"] * self.scale)))
        nprocs = max(10, int(round(SCALE1["procedures"] * self.scale)))
        nfolders = max(3, int(round((nfiles - 1) / 6.5)))

        # Folder tree, at most four levels deep.
        folders = [("", 0)]
        used = set()
        for i in range(nfolders):
            if i < max(3, nfolders // 3):
                parent, depth = "", 0
            else:
                cands = [f for f in folders[1:] if f[1] < 4]
                parent, depth = self.pick(cands)
            word = self.pick(FOLDER_WORDS)
            name = word
            n = 2
            while (parent + name).lower() in used:
                name = word + str(n)
                n += 1
            used.add((parent + name).lower())
            folders.append((parent + name + "/", depth + 1))

        main = SrcFile("main.pb", "", "main")
        self.files.append(main)
        self.main = main
        fixed = [SrcFile("constants.pbi", "", "constants"),
                 SrcFile("structures.pbi", "", "structures"),
                 SrcFile("globals.pbi", "", "globals")]
        for f in fixed:
            f.includer = main
            main.children.append(f)
        self.files += fixed

        hubs = {}
        for path, _depth in folders[1:]:
            word = path.rstrip("/").rsplit("/", 1)[-1]
            hub = SrcFile(path + word + ".pbi", path, "hub")
            hubs[path] = hub
            self.files.append(hub)
        for path, _depth in folders[1:]:
            parent = path.rstrip("/").rsplit("/", 1)[0] + "/" if "/" in path.rstrip("/") else ""
            includer = hubs[parent] if parent else main
            hub = hubs[path]
            hub.includer = includer
            includer.children.append(hub)

        # The other files, spread over the folders (the root folder a little less).
        file_names = set(f.rel.lower() for f in self.files)
        per_folder = {path: [] for path, _ in folders}
        while len(self.files) < nfiles:
            path = self.pick(folders)[0]
            if path == "" and self.chance(0.6):
                continue
            word = self.pick(FILE_WORDS)
            if self.chance(0.4):
                word += "_" + self.pick(FILE_WORDS)
            if self.chance(0.3):
                word = "".join(w.capitalize() for w in word.split("_"))
            ext = ".pb" if self.chance(0.1) else ".pbi"
            rel = path + word + ext
            if rel.lower() in file_names:
                continue
            file_names.add(rel.lower())
            f = SrcFile(rel, path, "plain")
            per_folder[path].append(f)
            self.files.append(f)

        folder_paths = [p for p, _ in folders]
        for path, files in per_folder.items():
            owner = hubs.get(path, main)
            for i, f in enumerate(files):
                siblings = [p for p in folder_paths[1:]
                            if p != path and p.count("/") == path.count("/") and
                            p.rsplit("/", 2)[0] == path.rsplit("/", 2)[0]] if path else []
                if siblings and self.chance(0.06):
                    includer = hubs[self.pick(siblings)]     # reached through "../"
                elif i > 0 and self.chance(0.3):
                    includer = files[rng.randrange(i)]        # a chain inside the folder
                else:
                    includer = owner
                f.includer = includer
                includer.children.append(f)
        for f in self.files:
            rng.shuffle(f.children)

        # Per-file style.
        for f in self.files:
            f.bom = self.chance(0.85)
            f.crlf = self.chance(0.2)
            f.latin1 = not f.bom and self.chance(0.5)
            f.indent = self.pick(("  ", "  ", "  ", "    ", "    ", "\t", "\t", "mixed"))

        # Modules: about one file in ten holds one module.
        plain = [f for f in self.files if f.kind in ("plain", "hub")]
        for f in plain:
            if self.chance(0.1):
                base = f.name.rsplit(".", 1)[0]
                f.module = self.unique(lambda: "".join(
                    w.capitalize() for w in base.replace("-", "_").split("_")) +
                    self.pick(("", "", "Mod", "Core", "Lib")))

        # Procedures, spread unevenly over the files.
        weights = []
        holders = []
        for f in self.files:
            if f.kind in ("constants", "structures"):
                continue
            if f.kind == "globals":
                w = 0.2
            elif f.kind == "main":
                w = 0.4
            elif self.chance(0.06):
                continue  # declarations only
            else:
                w = rng.lognormvariate(0, 0.6)
            holders.append(f)
            weights.append(w)
        cum = []
        total = 0.0
        for w in weights:
            total += w
            cum.append(total)
        for i in range(nprocs):
            f = holders[bisect.bisect_right(cum, rng.random() * total)]
            form = self.weighted(PROC_FORMS)
            p = Proc(self.proc_name(), form, f, f.module, self.pick((0, 1, 1, 2, 2, 2, 3, 3, 4)),
                     i)
            # Callbacks and exported procedures that nothing in the program calls.
            if form.startswith("ProcedureDLL") or form.startswith("ProcedureCDLL"):
                p.callable = self.chance(0.3)
            elif self.chance(0.08):
                p.callable = False
            f.procs.append(p)
        for f in self.files:
            for p in f.procs:
                self.procs.append(p)
            f.has_declares = bool(f.procs) and self.chance(0.3)
        for i, p in enumerate(self.procs):
            p.idx = i

        # Callee choice: a few procedures are called very often, most a few times.
        callable_procs = [p for p in self.procs if p.callable]
        rng.shuffle(callable_procs)
        self.callee_list = callable_procs
        self.callee_cum = []
        total = 0.0
        for rank, _p in enumerate(callable_procs):
            total += 1.0 / (rank + 4) ** 0.8
            self.callee_cum.append(total)
        self.module_procs = {}
        for p in self.procs:
            if p.module and p.callable:
                self.module_procs.setdefault(p.module, []).append(p)
        self.module_names = list(self.module_procs)

        # Globals, structures and constants.
        nglobals = int(round(60 + 60 * self.scale))
        kinds = ("int",) * 10 + ("str",) * 3 + ("ptr", "list", "array", "struct")
        nstructs = int(round(12 + 18 * self.scale))
        for _ in range(nstructs):
            name = self.unique(lambda: self.pick(NOUNS) + self.pick(
                ("", "Info", "Data", "Entry", "Item", "State", "Desc")))
            fields = []
            for fld in self.rng.sample(FIELDS, self.rng.randint(3, 8)):
                fields.append(fld)
            self.structs.append((name, fields))
        for _ in range(nglobals):
            kind = self.pick(kinds)
            name = self.unique(lambda: self.pick(("g", "g", "g", "the", "App", "Main")) +
                               self.pick(GLOBAL_NOUNS) +
                               (self.pick(GLOBAL_NOUNS) if self.chance(0.4) else ""))
            if kind == "ptr":
                name = "*" + name
            g = [name, kind, 0]
            if kind == "struct":
                g.append(self.rng.randrange(nstructs))  # index of its structure
            self.globals.append(g)
        self.global_cum = []
        total = 0.0
        for rank in range(len(self.globals)):
            total += 1.0 / (rank + 3) ** 0.9
            self.global_cum.append(total)
        nconst = int(round(40 + 80 * self.scale))
        for _ in range(nconst):
            self.constants.append(self.unique(
                lambda: "#" + self.pick(NOUNS).upper() + "_" + self.pick(GLOBAL_NOUNS).upper()))

    def weighted(self, pairs):
        total = sum(w for _, w in pairs)
        r = self.rng.random() * total
        for v, w in pairs:
            r -= w
            if r < 0:
                return v
        return pairs[-1][0]

    # -- pieces of code -----------------------------------------------------

    def global_var(self, want=None):
        for _ in range(20):
            g = self.globals[bisect.bisect_right(self.global_cum,
                                                 self.rng.random() * self.global_cum[-1])]
            if want is None or g[1] == want:
                g[2] += 1
                return g
        g = self.pick([g for g in self.globals if g[1] == want] or self.globals)
        g[2] += 1
        return g

    def literal(self):
        return '"' + self.pick(LITERALS) + '"'

    def comment_text(self):
        n = self.rng.randint(3, 10)
        words = [self.pick(COMMENT_WORDS) for _ in range(n)]
        if self.chance(0.05):
            words.append("(see %s())" % self.pick(self.procs).name)
        if self.chance(0.03):
            words.append(self.pick(("für später", "Größe prüfen", "Rückgabewert", "déjà vu")))
        return " ".join(words)

    def int_expr(self, ctx):
        r = self.rng.random()
        if r < 0.3:
            return str(self.rng.randint(0, 100))
        if r < 0.5:
            return self.pick(ctx["ints"])
        if r < 0.6:
            return self.pick(self.constants)
        if r < 0.75:
            g = self.global_var("int")
            return g[0]
        if r < 0.85:
            return "Len(%s)" % self.pick(ctx["strs"])
        if r < 0.93 and ctx["structs"]:
            name, fields = self.pick(ctx["structs"])
            return "%s\\%s" % (name, self.pick(fields))
        if ctx["ptrs"]:
            name, fields = self.pick(ctx["ptrs"])
            if fields:
                return "%s\\%s" % (name, self.pick(fields))
            return "PeekL(%s + %d)" % (name, self.rng.randint(0, 16) * 4)
        return str(self.rng.randint(0, 9))

    def arg(self, ctx):
        r = self.rng.random()
        if r < 0.55:
            return self.int_expr(ctx)
        if r < 0.75:
            return self.pick(ctx["strs"]) if self.chance(0.6) else self.literal()
        if r < 0.85:
            return "@" + self.pick(ctx["ints"])
        if r < 0.93 and ctx["ptrs"]:
            return self.pick(ctx["ptrs"])[0]
        return "#True" if self.chance(0.5) else "#False"

    def choose_callee(self, ctx):
        rng = self.rng
        mod = ctx["module"]
        if mod and self.chance(0.6) and self.module_procs.get(mod):
            return self.pick(self.module_procs[mod])
        if ctx["file_procs"] and self.chance(0.35):
            p = self.pick(ctx["file_procs"])
            if p.callable:
                return p
        if mod and self.module_names and self.chance(0.5):
            return self.pick(self.module_procs[self.pick(self.module_names)])
        i = bisect.bisect_right(self.callee_cum, rng.random() * self.callee_cum[-1])
        return self.callee_list[min(i, len(self.callee_list) - 1)]

    def call_name(self, p, ctx):
        name = p.name
        r = self.rng.random()
        if r < 0.015:
            name = name.lower()
        elif r < 0.025:
            name = name[0].lower() + name[1:]
        elif r < 0.03:
            name = name.upper()
        if p.module and p.module != ctx["module"]:
            name = p.module + "::" + name
        return name

    def call(self, ctx, depth=0):
        p = self.choose_callee(ctx)
        p.calls += 1
        args = []
        for _ in range(p.nparams):
            if depth == 0 and self.chance(0.04):
                args.append(self.call(ctx, 1))
            else:
                args.append(self.arg(ctx))
        paren = " (" if self.chance(0.03) else "("
        return self.call_name(p, ctx) + paren + ", ".join(args) + ")"

    def condition(self, ctx, with_call):
        if with_call:
            c = self.call(ctx)
            return self.pick((c, c + " = #True", c + " > 0", "Not " + c, c + " <> 0",
                              "%s And %s" % (c, self.pick(ctx["ints"]))))
        r = self.rng.random()
        if r < 0.3:
            g = self.global_var("int")
            return "%s > %s" % (g[0], self.int_expr(ctx))
        if r < 0.5:
            return '%s <> ""' % self.pick(ctx["strs"])
        if r < 0.65 and ctx["ptrs"]:
            return "%s" % self.pick(ctx["ptrs"])[0]
        return "%s %s %s" % (self.pick(ctx["ints"]), self.pick(("=", "<", ">", "<=", ">=", "<>")),
                             self.int_expr(ctx))

    def statement(self, ctx, with_call):
        """One plain statement line (without indentation)."""
        rng = self.rng
        if with_call:
            r = rng.random()
            c = self.call(ctx)
            if r < 0.35:
                s = c
            elif r < 0.6:
                s = "%s = %s" % (self.pick(ctx["ints"]), c)
            elif r < 0.68:
                s = "%s = %s" % (self.pick(ctx["strs"]), c)
            elif r < 0.74:
                s = "%s = %s + %s" % (self.pick(ctx["ints"]), self.int_expr(ctx), c)
            elif r < 0.8:
                s = "%s : %s" % (c, self.call(ctx))
            elif r < 0.85 and ctx["structs"]:
                name, fields = self.pick(ctx["structs"])
                s = "%s\\%s = %s" % (name, self.pick(fields), c)
            elif r < 0.9:
                p = self.choose_callee(ctx)
                p.calls += 1
                s = "%s = @%s()" % (self.pick(ctx["ptrs"])[0] if ctx["ptrs"] else "*callback",
                                    self.call_name(p, ctx))
            elif r < 0.95:
                g = self.global_var("int")
                s = "%s = %s" % (g[0], c)
            else:
                s = "ProcedureReturn " + c if ctx["in_proc"] else c
            return s
        r = rng.random()
        if r < 0.2:
            return "%s = %s %s %s" % (self.pick(ctx["ints"]), self.int_expr(ctx),
                                      self.pick(("+", "-", "*", "/", "&", "|")), self.int_expr(ctx))
        if r < 0.3:
            return "%s = %s + %s" % (self.pick(ctx["strs"]), self.literal(),
                                     self.pick(("Str(%s)" % self.pick(ctx["ints"]),
                                                self.pick(ctx["strs"]), self.literal())))
        if r < 0.4:
            g = self.global_var()
            if g[1] == "int":
                return self.pick(("%s + 1" % g[0], "%s = %s" % (g[0], self.int_expr(ctx)),
                                  "%s = %s" % (self.pick(ctx["ints"]), g[0])))
            if g[1] == "str":
                return "%s = %s" % (g[0], self.literal())
            if g[1] == "ptr":
                return "%s = AllocateMemory(%d)" % (g[0], 64 << rng.randrange(6))
            if g[1] == "list":
                return "AddElement(%s()) : %s() = %s" % (g[0], g[0], self.pick(ctx["ints"]))
            if g[1] == "array":
                return "%s(%s) = %s" % (g[0], self.pick(ctx["ints"]), self.int_expr(ctx))
            return "%s\\%s = %s" % (g[0], self.pick(self.structs[g[3]][1]), self.int_expr(ctx))
        if r < 0.5 and ctx["structs"]:
            name, fields = self.pick(ctx["structs"])
            return "%s\\%s = %s" % (name, self.pick(fields), self.int_expr(ctx))
        if r < 0.58 and ctx["ptrs"]:
            name, fields = self.pick(ctx["ptrs"])
            if fields:
                return "%s\\%s %s" % (name, self.pick(fields),
                                      self.pick(("+ 1", "= 0", "| #True", "- 1")))
            return "PokeL(%s + %d, %s)" % (name, rng.randint(0, 16) * 4, self.int_expr(ctx))
        if r < 0.64 and ctx["ptrs"]:
            return "%s = @%s" % (self.pick(ctx["ptrs"])[0], self.pick(ctx["ints"]))
        if r < 0.72:
            return "Debug %s + %s" % (self.literal(), self.pick(ctx["strs"]))
        if r < 0.725:
            # A procedure name inside a string: no call, though a line-based search sees one.
            self.stats["string_mentions"] += 1
            return 'Debug "%s() failed; code (" + Str(%s) + ")"' % (
                self.pick(self.procs).name, self.pick(ctx["ints"]))
        if r < 0.77:
            return "%s = %s(%s)" % (self.pick(ctx["ints"]),
                                    self.pick(("Len", "Val", "FindString", "CountString")),
                                    self.pick(ctx["strs"]) if self.chance(0.7) else self.literal())
        if r < 0.8:
            return "%s = %s(%s, %s)" % (self.pick(ctx["strs"]), self.pick(("Left", "Right", "Mid")),
                                        self.pick(ctx["strs"]), self.int_expr(ctx))
        if r < 0.98:
            return self.long_statement(ctx)
        return "%s + 1" % self.pick(ctx["ints"])

    def long_statement(self, ctx):
        s1, s2 = self.pick(ctx["strs"]), self.pick(ctx["strs"])
        i1 = self.pick(ctx["ints"])
        k = self.rng.randrange(7)
        if k == 0:
            return 'SetGadgetText(%s, "Ready; " + Str(%s) + " items (" + %s + ")")' % (
                self.pick(self.constants), i1, s1)
        if k == 1:
            return ('MessageRequester("%s", "Cannot save " + %s + "; disk full?", '
                    "#PB_MessageRequester_Ok | #PB_MessageRequester_Error)") % (
                        self.pick(("Error", "Fehler", "Warning", "Save")), s1)
        if k == 2:
            return "AddGadgetItem(%s, -1, %s + Chr(10) + Str(%s) + Chr(10) + %s)" % (
                self.pick(self.constants), s1, i1, s2)
        if k == 3:
            return 'resultText$ = ReplaceString(%s, "(", " ( ", #PB_String_NoCase, 1)' % s1
        if k == 4:
            return '%s = LCase(Trim(StringField(%s, %s + 1, ";")))' % (s1, s2, i1)
        if k == 5:
            return "%s = Bool(%s > %s And %s <> %s)" % (i1, self.int_expr(ctx), self.int_expr(ctx),
                                                       self.int_expr(ctx), self.int_expr(ctx))
        return '%s = FindString(%s, "%s", %s + 1, #PB_String_NoCase)' % (
            i1, s1, self.pick(LITERALS).replace('"', ""), i1)

    # -- blocks -------------------------------------------------------------

    def indent(self, f, level):
        if f.indent == "mixed":
            return "\t" * (level // 2) + "  " * (level % 2)
        return f.indent * level

    def add(self, out, f, level, text, is_call=False):
        if is_call:
            self.stats["call_lines"] += 1
        if text and self.chance(0.08):
            text += self.pick((" ", "  ", "\t", "    ")) + "; " + self.comment_text()
        out.append(self.indent(f, level) + text if text else "")

    def body(self, out, f, ctx, base, nlines):
        rng = self.rng
        start = len(out)
        stack = []
        call_rate = CALL_RATE

        def close():
            kind = stack.pop()
            lvl = base + len(stack)
            if kind == "If":
                if self.chance(0.25):
                    self.add(out, f, lvl, "Else")
                    stack.append("Else")
                    return
                self.add(out, f, lvl, "EndIf")
            elif kind == "Else":
                self.add(out, f, lvl, "EndIf")
            elif kind in ("For", "ForEach"):
                self.add(out, f, lvl, "Next")
            elif kind == "While":
                self.add(out, f, lvl, "Wend")
            elif kind == "Repeat":
                c = self.chance(call_rate)
                self.add(out, f, lvl, "Until " + self.condition(ctx, c), c)

        while len(out) - start < nlines:
            r = rng.random()
            lvl = base + len(stack)
            if stack and r < 0.11:
                close()
            elif len(stack) < 3 and r < 0.22:
                kind = self.pick(("If", "If", "If", "For", "While", "Repeat", "ForEach",
                                  "Select"))
                c = self.chance(call_rate)
                if kind == "If":
                    self.add(out, f, lvl, "If " + self.condition(ctx, c), c)
                elif kind == "While":
                    self.add(out, f, lvl, "While " + self.condition(ctx, c), c)
                elif kind == "For":
                    self.add(out, f, lvl, "For %s = %d To %s" % (
                        self.pick(ctx["ints"]), rng.randint(0, 1), self.int_expr(ctx)))
                    c = False
                elif kind == "ForEach":
                    g = self.global_var("list")
                    self.add(out, f, lvl, "ForEach %s()" % g[0])
                    c = False
                elif kind == "Repeat":
                    self.add(out, f, lvl, "Repeat")
                    c = False
                if kind != "Select":
                    stack.append(kind)
                    continue
                self.add(out, f, lvl, "Select " + self.pick(ctx["ints"]))
                for k in range(rng.randint(2, 5)):
                    self.add(out, f, lvl + 1, "Case %d" % k if self.chance(0.6)
                             else "Case " + self.pick(self.constants))
                    for _ in range(rng.randint(1, 3)):
                        c = self.chance(call_rate)
                        self.add(out, f, lvl + 2, self.statement(ctx, c), c)
                if self.chance(0.5):
                    self.add(out, f, lvl + 1, "Default")
                    self.add(out, f, lvl + 2, self.statement(ctx, False))
                self.add(out, f, lvl, "EndSelect")
            elif r < 0.28:
                out.append("")
            elif r < 0.31:
                out.append(self.indent(f, lvl) + "; " + self.comment_text())
            else:
                c = self.chance(call_rate)
                self.add(out, f, lvl, self.statement(ctx, c), c)
        while stack:
            close()

    def params(self, p, ctx):
        ps = []
        for i in range(p.nparams):
            r = self.rng.random()
            if r < 0.4:
                n = INT_LOCALS[(p.idx + i) % len(INT_LOCALS)] + "Arg"
                ps.append(n + self.pick(("", ".i", ".l")) +
                          (" = 0" if i == p.nparams - 1 and self.chance(0.2) else ""))
                ctx["ints"].append(n)
            elif r < 0.7:
                n = STR_LOCALS[(p.idx + i) % len(STR_LOCALS)].replace("$", "Arg$")
                ps.append(n)
                ctx["strs"].append(n)
            else:
                sname, fields = self.pick(self.structs)
                n = "*%sArg" % sname[0].lower()
                if any(n == q[0] for q in ctx["ptrs"]):
                    n += str(i)
                ps.append("%s.%s" % (n, sname))
                ctx["ptrs"].append((n, fields))
        return ", ".join(ps)

    def procedure(self, out, f, p, base):
        rng = self.rng
        ctx = {"ints": ["result"], "strs": ["text$"], "ptrs": [], "structs": [],
               "module": f.module, "file_procs": f.procs, "in_proc": True}
        params = self.params(p, ctx)
        if self.chance(0.35):
            out.append(self.indent(f, base) + "; " + p.name + ": " + self.comment_text())
        if self.chance(0.05):
            out.append(self.indent(f, base) + "; " + "-" * 60)
        lead = self.indent(f, base)
        if base == 0 and not f.module:
            r = rng.random()
            lead = " " if r < 0.01 else ("\t" if r < 0.02 else "")
        paren = " (" if self.chance(0.02) else "("
        line = "%s%s %s%s%s)" % (lead, p.form, p.name, paren, params)
        if self.chance(0.1):
            line += " ; " + self.comment_text()
        out.append(line)
        first_int, first_str = len(ctx["ints"]), len(ctx["strs"])
        for n in rng.sample(INT_LOCALS, rng.randint(2, 5)):
            if n not in ctx["ints"]:
                ctx["ints"].append(n)
        for n in rng.sample(STR_LOCALS, rng.randint(0, 2)):
            if n not in ctx["strs"]:
                ctx["strs"].append(n)
        decl = ctx["ints"][first_int:] + ctx["strs"][first_str:]
        self.add(out, f, base + 1, "Protected result.i, text$" + "".join(", " + d for d in decl))
        if self.chance(0.5):
            sname, fields = self.pick(self.structs)
            local = sname[0].lower() + sname[1:] + "Local"
            ctx["structs"].append((local, fields))
            self.add(out, f, base + 1, "Protected %s.%s" % (local, sname))
        if self.chance(0.35):
            sname, fields = self.pick(self.structs)
            n = self.pick(PTR_LOCALS)
            if not any(n == q[0] for q in ctx["ptrs"]):
                ctx["ptrs"].append((n, fields))
                self.add(out, f, base + 1, "Protected %s.%s = %s" % (
                    n, sname, self.pick(("AllocateMemory(SizeOf(%s))" % sname, "0",
                                         "@" + ctx["structs"][0][0] if ctx["structs"] else "0"))))
        if self.chance(0.05):
            g = self.global_var()
            self.add(out, f, base + 1, "Shared " + g[0])
        if self.chance(0.05):
            self.add(out, f, base + 1, "Static calls.i")
        n = max(1, int(rng.lognormvariate(0, 0.75) * BODY_MEDIAN))
        self.body(out, f, ctx, base + 1, n)
        if p.form.startswith(("Procedure.s", "ProcedureDLL.s")):
            self.add(out, f, base + 1, "ProcedureReturn text$")
        elif "." in p.form or self.chance(0.3):
            self.add(out, f, base + 1, "ProcedureReturn result")
        out.append(self.indent(f, base) + "EndProcedure")

    def declare(self, p):
        kw = p.form.replace("Procedure", "Declare")
        return "%s %s(%s)" % (kw, p.name, ", ".join("a%d" % i for i in range(p.nparams)))

    # -- include statements ---------------------------------------------------

    def includes(self, out, f):
        """Include statements for f's children; each file is reached exactly once."""
        rng = self.rng
        # A reader that follows include order may arrive here with a folder set by another
        # file's IncludePath, so a non-main file sets its own before a plain relative name.
        dirty = f.kind != "main"
        for child in f.children:
            rel = os.path.relpath(child.rel, f.folder or ".").replace(os.sep, "/")
            kw = "XIncludeFile" if self.chance(0.75) else "IncludeFile"
            r = rng.random()
            if r < 0.15:
                out.append('%s #PB_Compiler_FilePath + "%s"' % (kw, rel))
            elif r < 0.35 and "/" in rel and not rel.startswith(".."):
                folder, name = rel.rsplit("/", 1)
                if self.chance(0.5):
                    out.append('IncludePath "%s/"' % folder)
                else:
                    out.append('IncludePath #PB_Compiler_FilePath + "%s/"' % folder)
                out.append('%s "%s"' % (kw, name))
                dirty = True
            else:
                if dirty:
                    out.append(self.pick(('IncludePath ""', "IncludePath #PB_Compiler_FilePath")))
                    dirty = False
                tail = " ; " + self.comment_text() if self.chance(0.1) else ""
                sep = "\t" if self.chance(0.1) else " "
                out.append('%s%s"%s"%s' % (kw, sep, rel, tail))
            if child.children:
                dirty = True  # in compile order, that file sets its own IncludePath
        if f.children and dirty and f.kind != "main":
            out.append('IncludePath ""')

    # -- files ----------------------------------------------------------------

    def file_text(self, f):
        rng = self.rng
        out = []
        out.append("; " + "=" * 66)
        out.append(";  " + f.rel)
        for _ in range(rng.randint(1, 4)):
            out.append(";  " + self.comment_text())
        out.append("; " + "=" * 66)
        out.append("")
        if f.kind == "main":
            out.append("EnableExplicit")
            out.append("")
        elif self.chance(0.15):
            out.append("EnableExplicit")
        if f.children and f.kind != "main":
            self.includes(out, f)
            out.append("")
        if f.kind == "main":
            self.includes(out, f)
            out.append("")
        if f.kind == "constants":
            for c in self.constants:
                out.append("%s = %s" % (c, self.pick((str(rng.randint(0, 4096)),
                                                      "$%04X" % rng.randint(0, 65535),
                                                      '"%s"' % self.pick(LITERALS)))))
            out.append("")
            for k in range(int(4 + 6 * self.scale)):
                out.append("Enumeration")
                for _ in range(rng.randint(3, 12)):
                    out.append("  #" + self.unique(lambda: self.pick(NOUNS) + "_" + self.pick(
                        GLOBAL_NOUNS)).lstrip("#"))
                out.append("EndEnumeration")
                out.append("")
        if f.kind == "structures":
            for sname, fields in self.structs:
                out.append("Structure " + sname)
                for fld in fields:
                    t = self.pick((".i", ".l", ".s", ".d", ".b", ".w", ".q"))
                    if fld in ("next", "prev", "parent", "owner", "first", "last"):
                        out.append("  *%s.%s" % (fld, sname))
                    else:
                        out.append("  " + fld + t)
                if self.chance(0.2):
                    out.append("  List children.i()")
                out.append("EndStructure")
                out.append("")
        if f.kind == "globals":
            for g in self.globals:
                name, kind = g[0], g[1]
                if kind == "int":
                    out.append("Global %s%s" % (name, self.pick((".i", ".l", "", " = 0"))))
                elif kind == "str":
                    out.append("Global %s.s" % name)
                elif kind == "ptr":
                    out.append("Global %s" % name)
                elif kind == "list":
                    out.append("Global NewList %s.i()" % name)
                elif kind == "array":
                    out.append("Global Dim %s.i(%d)" % (name, rng.randint(8, 512)))
                else:
                    out.append("Global %s.%s" % (name, self.structs[g[3]][0]))
            out.append("")
        if f.has_declares:
            for p in f.procs:
                if self.chance(0.6):
                    out.append(self.declare(p))
            out.append("")
        if f.module:
            out.append("DeclareModule " + f.module)
            for p in f.procs:
                out.append(self.indent(f, 1) + self.declare(p))
            out.append("EndDeclareModule")
            out.append("")
            out.append("Module " + f.module)
            out.append(self.indent(f, 1) + "EnableExplicit")
            out.append("")
            base = 1 if f.indent != "  " or self.chance(0.5) else 0
        else:
            base = 0
        for p in f.procs:
            self.procedure(out, f, p, base)
            out.append("")
            if self.chance(0.15):
                out.append("")
        if f.module:
            out.append("EndModule")
            out.append("")
        # Top-level code: start-up calls, and the event loop of the main file.
        ctx = {"ints": ["event", "quit", "n"], "strs": ["msg$"], "ptrs": [], "structs": [],
               "module": None, "file_procs": f.procs, "in_proc": False}
        if f.kind == "main":
            out.append("Define event.i, quit.i = #False, n.i, msg$")
            self.add(out, f, 0, self.statement(ctx, True), True)
            out.append('If OpenWindow(0, 0, 0, 800, 600, "Main (demo)", '
                       "#PB_Window_SystemMenu | #PB_Window_SizeGadget)")
            out.append(self.indent(f, 1) + "Repeat")
            out.append(self.indent(f, 2) + "event = WaitWindowEvent()")
            out.append(self.indent(f, 2) + "Select event")
            for k in range(int(20 * self.scale)):
                out.append(self.indent(f, 3) + "Case " + self.pick(self.constants))
                for _ in range(rng.randint(1, 3)):
                    c = self.chance(0.6)
                    self.add(out, f, 4, self.statement(ctx, c), c)
            out.append(self.indent(f, 3) + "Case #PB_Event_CloseWindow")
            out.append(self.indent(f, 4) + "quit = #True")
            out.append(self.indent(f, 2) + "EndSelect")
            out.append(self.indent(f, 1) + "Until quit")
            out.append("EndIf")
            out.append("End")
        elif f.procs and self.chance(0.3):
            for _ in range(rng.randint(1, 3)):
                self.add(out, f, 0, self.statement(ctx, True), True)
        return out

    def encode(self, f, lines):
        nl = "\r\n" if f.crlf else "\n"
        text = nl.join(lines) + nl
        data = text.encode("latin-1" if f.latin1 else "utf-8")
        if f.bom:
            data = b"\xef\xbb\xbf" + data
        return data, len(lines)

    # -- choice of NAME and TERM ------------------------------------------------

    def choose_name(self):
        called = sorted(p.calls for p in self.procs if p.calls > 0)
        median = called[len(called) // 2] if called else 0
        names = [p.name.lower() for p in self.procs]
        best = None
        for p in sorted(self.procs, key=lambda q: q.name):
            if not (median <= p.calls <= 2 * median + 1):
                continue
            low = p.name.lower()
            if sum(1 for n in names if low in n) > 1:
                continue  # part of a longer name: a plain text search would find more
            best = p
            break
        return best or self.pick(self.procs)

    def choose_term(self):
        ints = sorted((g for g in self.globals if g[1] == "int"), key=lambda g: (g[2], g[0]))
        names = [g[0].lower() for g in self.globals]
        mid = len(ints) * 2 // 3
        for g in ints[mid:] + ints[:mid]:
            if sum(1 for n in names if g[0].lower() in n) == 1:
                return g
        return ints[mid]


def write_corpus(scale, seed, out):
    gen = Generator(scale, seed)
    gen.plan()
    texts = []
    for f in gen.files:
        texts.append((f, gen.file_text(f)))

    parent = os.path.dirname(os.path.abspath(out))
    os.makedirs(parent, exist_ok=True)
    tmp = os.path.join(parent, ".%s.tmp-%d" % (os.path.basename(os.path.abspath(out)), os.getpid()))
    if os.path.exists(tmp):
        shutil.rmtree(tmp)
    os.makedirs(tmp)
    nlines = nbytes = 0
    try:
        for f, lines in texts:
            data, n = gen.encode(f, lines)
            path = os.path.join(tmp, f.rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as fh:
                fh.write(data)
            nlines += n
            nbytes += len(data)
        with open(os.path.join(tmp, "NAMES"), "w", encoding="ascii") as fh:
            for p in gen.procs:
                fh.write(p.name + "\n")
        name = gen.choose_name()
        term = gen.choose_term()
        summary = [
            ("scale", scale), ("seed", seed), ("files", len(gen.files)), ("lines", nlines),
            ("bytes", nbytes), ("procedures", len(gen.procs)),
            ("call_lines", gen.stats["call_lines"]), ("name", name.name),
            ("name_calls", name.calls), ("term", term[0]), ("term_uses", term[2]),
        ]
        with open(os.path.join(tmp, "SUMMARY"), "w", encoding="ascii") as fh:
            for k, v in summary:
                fh.write("%s=%s\n" % (k, v))
        if os.path.isdir(out):
            os.rmdir(out)  # only an empty folder is replaced (checked by the caller)
        os.rename(tmp, out)
    except BaseException:
        shutil.rmtree(tmp, ignore_errors=True)
        raise
    return dict(summary)


def main(argv):
    ap = argparse.ArgumentParser(description="Write a synthetic PureBasic program.")
    ap.add_argument("--scale", type=float, default=1.0,
                    help="1 is about 130 files and 120,000 lines; 10 is ten times that")
    ap.add_argument("--seed", type=int, default=1, help="same scale and seed, same bytes")
    ap.add_argument("--out", required=True, help="folder to create (must not exist or be empty)")
    args = ap.parse_args(argv)
    if not 0.01 <= args.scale <= 100:
        ap.error("--scale must lie between 0.01 and 100")
    if os.path.exists(args.out) and (not os.path.isdir(args.out) or os.listdir(args.out)):
        ap.error("%s exists and is not an empty folder; remove it first" % args.out)
    s = write_corpus(args.scale, args.seed, args.out)
    print("corpus %s (scale %s, seed %s)" % (args.out, s["scale"], s["seed"]))
    print("  files       %9d" % s["files"])
    print("  lines       %9d" % s["lines"])
    print("  bytes       %9d  (%.2f MB)" % (s["bytes"], s["bytes"] / 1e6))
    print("  procedures  %9d" % s["procedures"])
    print("  call lines  %9d" % s["call_lines"])
    print("  NAME        %s  (%d calls)" % (s["name"], s["name_calls"]))
    print("  TERM        %s  (%d uses)" % (s["term"], s["term_uses"]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

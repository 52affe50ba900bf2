#!/usr/bin/python3
"""Carries Talvex's spreadsheet requests to LibreOffice Calc over UNO.

Started by the program (spreadsheet_bridge.py SOFFICE PROFILE_URL PIPE_NAME), it starts the office suite
headless with its own profile, listening on a named pipe, and answers on stdout with one line: "ready", or
"failed<TAB>reason". Then it reads one request per line on stdin, a JSON object
    {"call": "method" | "get" | "put", "target": OBJECT, "member": NAME, "args": [VALUE, ...]}
and answers each with one line:
    ok                      done, nothing to return
    ok<TAB>object<TAB>N     a new object (an application object is 1)
    ok<TAB>number<TAB>X     a number
    unknown<TAB>reason      the object has no such member
    failed<TAB>reason       the office suite refused the request
A put carries its value as the last argument. At the end of input, or after "Quit", the office suite is
shut down: documents still open are closed unsaved.
"""

import json
import os
import subprocess
import sys
import time

import uno
from com.sun.star.beans import PropertyValue

CONNECT_SECONDS = 100
XLS_FILTER = "MS Excel 97"
# clearContents flags: values, dates, texts and formulas; formats and notes stay.
CONTENTS = 1 | 2 | 4 | 16
HUNDREDTHS_MM_PER_POINT = 2540.0 / 72.0


class Refused(Exception):
    """The office suite could not carry out a request."""


class Unknown(Exception):
    """The target object has no member of that name."""


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def file_url(path):
    return uno.systemPathToFileUrl(os.path.abspath(path))


def lock_file(path):
    """The file LibreOffice keeps beside a document while it has it open."""
    folder, name = os.path.split(os.path.abspath(path))
    return os.path.join(folder, ".~lock.%s#" % name)


def one_line(text):
    return " ".join(str(text).split())


class Office:
    """The running office suite and the objects handed out to the program."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.objects = {1: ("application", None)}
        self.next_id = 2
        self.documents = []

    def hand_out(self, kind, value):
        handle = self.next_id
        self.next_id += 1
        self.objects[handle] = (kind, value)
        return ("object", handle)

    def handle(self, call, target, member, args):
        if target not in self.objects:
            raise Refused("no object %d" % target)
        kind, value = self.objects[target]
        action = getattr(self, "%s_%s_%s" % (kind, call, member), None)
        if action is None:
            raise Unknown("%s has no %s %s" % (kind, call, member))
        return action(value, *args)

    # The application and its workbooks.
    def application_get_Workbooks(self, _):
        return self.hand_out("workbooks", None)

    def application_method_Quit(self, _):
        self.shut_down()
        return None

    def workbooks_method_Open(self, _, path):
        if not os.path.isfile(path):
            raise Refused("no file %s" % path)
        url = file_url(path)
        doc = self.desktop.loadComponentFromURL(url, "_blank", 0, (prop("Hidden", True),))
        if doc is None:
            # A file another office suite of this user has open (its lock file lies beside it) opens
            # read-only: enough for a template, and saving it is refused with a clear reason.
            doc = self.desktop.loadComponentFromURL(url, "_blank", 0, (prop("Hidden", True),
                                                                        prop("ReadOnly", True)))
        if doc is None or not hasattr(doc, "Sheets"):
            raise Refused("cannot open %s as a spreadsheet" % path)
        self.documents.append(doc)
        return self.hand_out("workbook", doc)

    # A workbook.
    def workbook_get_Sheets(self, doc):
        return self.hand_out("sheets", doc.Sheets)

    def workbook_method_SaveCopyAs(self, doc, path):
        try:
            doc.storeToURL(file_url(path), (prop("FilterName", XLS_FILTER), prop("Overwrite", True)))
        except Exception:
            if os.path.exists(lock_file(path)):
                raise Refused("%s is open in another program and cannot be replaced" % path)
            raise
        return None

    def workbook_method_Save(self, doc):
        if doc.isReadonly():
            raise Refused("%s is open in another program and cannot be saved" % uno.fileUrlToSystemPath(doc.URL))
        doc.store()
        return None

    def workbook_method_Close(self, doc):
        if doc in self.documents:
            self.documents.remove(doc)
        doc.close(True)
        return None

    # Sheets: numbered from 1 as the program counts them.
    def sheets_method_Item(self, sheets, number):
        index = int(number) - 1
        if index < 0 or index >= sheets.Count:
            raise Refused("the workbook has no sheet %s" % number)
        return self.hand_out("sheet", sheets.getByIndex(index))

    sheets_get_Item = sheets_method_Item

    def sheet_get_Range(self, sheet, address):
        return self.hand_out("range", (sheet, sheet.getCellRangeByName(address)))

    # A range of cells.
    def range_method_UnMerge(self, value):
        value[1].merge(False)
        return None

    def range_method_Merge(self, value):
        value[1].merge(True)
        return None

    def range_method_ClearContents(self, value):
        value[1].clearContents(CONTENTS)
        return None

    def range_method_Delete(self, value):
        # The cells below move up, as rows of the list go away.
        from com.sun.star.sheet.CellDeleteMode import UP
        sheet, cells = value
        sheet.removeRange(cells.RangeAddress, UP)
        return None

    def range_method_Insert(self, value):
        # The cells from the range down move down by its height.
        from com.sun.star.sheet.CellInsertMode import DOWN
        sheet, cells = value
        sheet.insertCells(cells.RangeAddress, DOWN)
        return None

    def range_get_RowHeight(self, value):
        # In points, as the program keeps row heights.
        return ("number", value[1].Rows.getByIndex(0).Height / HUNDREDTHS_MM_PER_POINT)

    def range_put_RowHeight(self, value, points):
        rows = value[1].Rows
        height = int(round(float(points) * HUNDREDTHS_MM_PER_POINT))
        for i in range(rows.Count):
            rows.getByIndex(i).Height = height
        return None

    def range_put_Value(self, value, table):
        cells = tuple(tuple("" if v is None else v for v in row) for row in table)
        value[1].setDataArray(cells)
        return None

    def shut_down(self):
        for doc in list(self.documents):
            try:
                doc.close(True)
            except Exception:  # a document the office suite has already let go
                pass
        self.documents = []
        try:
            self.desktop.terminate()
        except Exception:  # the connection ends with the office suite
            pass


def answer(text):
    sys.stdout.write(text + "\n")
    sys.stdout.flush()


def connect(pipe_name, office_process):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    url = "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe_name
    deadline = time.monotonic() + CONNECT_SECONDS
    while True:
        try:
            context = resolver.resolve(url)
            return context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        except Exception as failure:  # not listening yet
            if office_process.poll() is not None:
                raise Refused("the office suite ended at start with status %d" % office_process.returncode)
            if time.monotonic() > deadline:
                raise Refused("no connection to the office suite: %s" % one_line(failure))
            time.sleep(0.2)


def serve(office):
    for line in sys.stdin:
        if not line.strip():
            continue
        try:
            request = json.loads(line)
            result = office.handle(request["call"], int(request["target"]), request["member"],
                                   request.get("args", []))
        except Unknown as failure:
            answer("unknown\t" + one_line(failure))
            continue
        except Refused as failure:
            answer("failed\t" + one_line(failure))
            continue
        except Exception as failure:  # every refusal of the office suite becomes an answer
            text = getattr(failure, "Message", "") or str(failure)
            answer("failed\t" + one_line("%s: %s" % (type(failure).__name__, text)))
            continue
        if result is None:
            answer("ok")
        else:
            answer("ok\t%s\t%s" % (result[0], repr(float(result[1])) if result[0] == "number" else result[1]))
        if request["member"] == "Quit":
            return


def main():
    if len(sys.argv) != 4:
        answer("failed\tusage: spreadsheet_bridge.py SOFFICE PROFILE_URL PIPE_NAME")
        return 2
    soffice, profile_url, pipe_name = sys.argv[1:]
    try:
        office_process = subprocess.Popen(
            [soffice, "-env:UserInstallation=" + profile_url, "--headless", "--invisible", "--norestore",
             "--nologo", "--nodefault", "--nolockcheck", "--accept=pipe,name=%s;urp;" % pipe_name],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except OSError as failure:
        answer("failed\tcannot start %s: %s" % (soffice, one_line(failure)))
        return 1
    office = None
    try:
        office = Office(connect(pipe_name, office_process))
        answer("ready")
        serve(office)
    except Refused as failure:
        answer("failed\t" + one_line(failure))
    finally:
        if office is not None:
            office.shut_down()
        try:
            office_process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            office_process.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main())

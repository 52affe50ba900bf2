#!/usr/bin/env python3
"""Builds Template_tlvx.odt, the template of the ODT report, from the layout described below.

The report library fills the template's content.xml: "#Key#" stands for the text of the report element
Key, and a table row holding "#TableN#" is repeated once per row of the report table TableN (a table
whose report table is missing is dropped together with the empty paragraph after it). Every marker is
written into a single text run here, which a word processor would not guarantee.

Usage: make_template.py OUTPUT.odt          writes the template (the same bytes on every run)
       make_template.py --check FILE.odt    exit 1 unless FILE's entries are what this script makes
"""
import sys
import zipfile
from xml.sax.saxutils import escape

TEXT_WIDTH_CM = 18.0  # A4 less the margins of the page style

# A table: its caption row, its column captions (or None), its columns as (relative width, marker text,
# paragraph style of the data cell). The first data cell carries the table marker.
RESULT_COLUMNS = [
    (4.2, "Компонент", "#NameComp#", "Cell"),
    (2.6, "Масс. доля по анализам, %", "#MassP#", "Num"),
    (2.4, "Среднее, масс. %", "#AvMassP#", "Num"),
    (2.0, "±Δ, масс. %", "#d#", "Num"),
    (2.3, "Расхож-дение, %", "#diff#", "Num"),
    (2.3, "Предел повт. r, %", "#r#", "Num"),
    (2.2, "Соответ-ствие", "#r_OK#", "Mid"),
]


def control_columns(first, second):
    return [
        (4.2, "Компонент", "#NameComp#", "Cell"),
        (2.8, first, "#MassP#", "Num"),
        (2.8, second, "#CS_MassP#", "Num"),
        (3.0, "Контрольное знач. (Кк), %", "#Kk#", "Num"),
        (2.8, "Норматив (К), %", "#K#", "Num"),
        (2.4, "Соответ-ствие", "#r_OK#", "Mid"),
    ]


LIST_COLUMNS = [
    (6.0, "Хроматограмма", "#NameChrm#", "Cell"),
    (4.0, "Дата и время анализа", "#DateAn#", "Mid"),
    (5.0, "Тип", "#TypeChrm#", "Cell"),
    (3.0, "Анализ", "#NumAn#", "Mid"),
]

TITLE_VALUE_COLUMNS = [(9.0, None, "#title#", "Cell"), (9.0, None, "#val#", "Num")]


def table(number, caption, columns, groups=None):
    return {"number": number, "caption": caption, "columns": columns, "groups": groups}


def fixed_row_table(number, caption, title, key):
    """A one-line table whose caption is fixed and whose value comes from the report."""
    return {"number": number, "caption": caption, "fixed_title": title, "key": key}


GAS = [
    table(2, "Список хроматограмм", LIST_COLUMNS),
    table(3, "Результаты анализа. Компонентный состав", RESULT_COLUMNS),
    table(4, "Физико-химические показатели (компонентный состав), средние значения", TITLE_VALUE_COLUMNS),
    table(5, "Результаты анализа. Компонентно-фракционный состав", RESULT_COLUMNS),
    table(6, "Физико-химические показатели (компонентно-фракционный состав), средние значения",
          TITLE_VALUE_COLUMNS),
    table(7, "Результаты оперативного контроля (ОКП). Компонентный состав",
          control_columns("Ан-1, масс. %", "ОКП, масс. %")),
    table(8, "Результаты оперативного контроля (ОКП). Компонентно-фракционный состав",
          control_columns("Ан-1, масс. %", "ОКП, масс. %")),
    table(9, "Результаты оперативного контроля (ОКЭ)", control_columns("ОКЭ, масс. %", "Паспорт, масс. %")),
]

CONDENSATE = [
    table(10, "Список хроматограмм", LIST_COLUMNS),
    table(11, "Результаты анализа. Метод А (по t°С)", RESULT_COLUMNS),
    fixed_row_table(12, "Физико-химические показатели (метод А)", "Молярная масса (среднее знач.), г/моль", "#MM#"),
    table(13, "Результаты анализа. Метод Б (по ЧАУ)", RESULT_COLUMNS),
    fixed_row_table(14, "Физико-химические показатели (метод Б)", "Молярная масса (среднее знач.), г/моль", "#MM#"),
    table(15, "Результаты оперативного контроля (ОКП). Метод А",
          control_columns("Ан-1, масс. %", "ОКП, масс. %")),
    table(16, "Результаты оперативного контроля (ОКП). Метод Б",
          control_columns("Ан-1, масс. %", "ОКП, масс. %")),
    table(17, "Результаты оперативного контроля (ОКЭ)", control_columns("ОКЭ, масс. %", "Паспорт, масс. %")),
]

NLH = [
    table(18, "Компонентный состав НЖУ", [
        (3.6, "Компонент", "#NameComp#", "Cell"),
        (2.4, "масс. доля, %", "#GD_MassP#", "Num"),
        (2.4, "M, г/моль", "#GD_MM#", "Num"),
        (2.4, "масс. доля, %", "#DC_MassP#", "Num"),
        (2.4, "M, г/моль", "#DC_MM#", "Num"),
        (2.4, "масс. доля, %", "#NLH_MassP#", "Num"),
        (2.4, "M, г/моль", "#NLH_MM#", "Num"),
    ], groups=[(1, ""), (2, "Газ дегазации"), (2, "Дегазированный конденсат"), (2, "НЖУ")]),
    table(19, "Параметры дегазации", TITLE_VALUE_COLUMNS),
]

# The boiling curves: their picture, in a table of its own that the report gives one row only when it names
# the picture file (the frame is named as the report element holding the file's path), then the reported
# values of the condensate's and the unstable liquid's curves.
CURVE_PICTURE = "BoilCurvePic"
CURVE_PICTURE_FILE = "Pictures/boiling_curve.svg"
CURVE_PICTURE_SIZE_CM = (16.0, 10.0)
CURVES = [
    dict(table(21, "Кривая разгонки (распределение массы по температурам кипения)", [(18.0, None, None, "Mid")]),
         picture=CURVE_PICTURE),
    table(20, "Показатели кривой разгонки", [
        (9.0, "Показатель", "#title#", "Cell"),
        (4.5, "ДК (метод А)", "#DK_Val#", "Num"),
        (4.5, "НЖУ", "#NLH_Val#", "Num"),
    ]),
]

# What the template's frame shows until a report gives it a picture: a blank area of the same size.
PLACEHOLDER_SVG = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    f'<svg xmlns="http://www.w3.org/2000/svg" width="{CURVE_PICTURE_SIZE_CM[0] * 10:g}mm" '
    f'height="{CURVE_PICTURE_SIZE_CM[1] * 10:g}mm" viewBox="0 0 1600 1000">'
    '<rect width="1600" height="1000" fill="white"/></svg>\n')

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "draw": "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "xlink": "http://www.w3.org/1999/xlink",
    "dc": "http://purl.org/dc/elements/1.1/",
    "meta": "urn:oasis:names:tc:opendocument:xmlns:meta:1.0",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
}


def namespaces(*prefixes):
    return " ".join(f'xmlns:{p}="{NS[p]}"' for p in prefixes)


def para(style, text=""):
    if not text:
        return f'<text:p text:style-name="{style}"/>'
    return f'<text:p text:style-name="{style}">{escape(text)}</text:p>'


def cell(style, content, span=1):
    spanned = f' table:number-columns-spanned="{span}"' if span > 1 else ""
    covered = "<table:covered-table-cell/>" * (span - 1)
    return (f'<table:table-cell table:style-name="{style}" office:value-type="string"{spanned}>'
            f"{content}</table:table-cell>{covered}")


def table_xml(t, index):
    name = f"Table{t['number']}"
    if "fixed_title" in t:
        widths = [9.0, 9.0]
    else:
        widths = [c[0] for c in t["columns"]]
    scale = TEXT_WIDTH_CM / sum(widths)
    out = [f'<table:table table:name="{name}" table:style-name="Report">']
    for i, w in enumerate(widths):
        out.append(f'<table:table-column table:style-name="Col{index}_{i}"/>')
    header = [f'<table:table-row>{cell("Caption", para("CaptionText", t["caption"]), len(widths))}</table:table-row>']
    if t.get("groups"):
        header.append("<table:table-row>" + "".join(
            cell("Head", para("HeadText", text), span) for span, text in t["groups"]) + "</table:table-row>")
    if "fixed_title" in t:
        row = cell("Data", para("Cell", t["fixed_title"])) + cell("Data", para("Num", f"#{name}#" + t["key"]))
    elif t.get("picture"):
        width, height = CURVE_PICTURE_SIZE_CM
        frame = (f'<draw:frame draw:name="{t["picture"]}" text:anchor-type="as-char" svg:width="{width}cm" '
                 f'svg:height="{height}cm"><draw:image xlink:href="{CURVE_PICTURE_FILE}" xlink:type="simple" '
                 'xlink:show="embed" xlink:actuate="onLoad" draw:mime-type="image/svg+xml"/></draw:frame>')
        row = cell("Data", f'<text:p text:style-name="Mid">#{name}#{frame}</text:p>')
    else:
        if t["columns"][0][1] is not None:
            header.append("<table:table-row>" + "".join(
                cell("Head", para("HeadText", c[1])) for c in t["columns"]) + "</table:table-row>")
        marks = [c[2] for c in t["columns"]]
        marks[0] = f"#{name}#" + marks[0]
        row = "".join(cell("Data", para(c[3], m)) for c, m in zip(t["columns"], marks))
    out.append("<table:table-header-rows>" + "".join(header) + "</table:table-header-rows>")
    out.append(f"<table:table-row>{row}</table:table-row>")
    out.append("</table:table>")
    # The empty paragraph goes with the table when the report has no such table.
    out.append(para("Spacer"))
    return "\n".join(out), [w * scale for w in widths]


def content_xml():
    tables = []
    column_styles = []

    def add(t):
        xml, widths = table_xml(t, len(tables))
        for i, w in enumerate(widths):
            column_styles.append(
                f'<style:style style:name="Col{len(tables)}_{i}" style:family="table-column">'
                f'<style:table-column-properties style:column-width="{w:.3f}cm" '
                f'style:rel-column-width="{round(w * 1000)}*"/></style:style>')
        tables.append(xml)
        return xml

    body = [
        para("Title", "ПРОТОКОЛ"),
        para("Subtitle", "хроматографического анализа газа дегазации, дегазированного конденсата и НЖУ"),
        para("Created", "Отчет составлен: #DateCreated#"),
        add(table(1, "Сведения о пробе и анализе", [(7.0, None, "#title#", "Cell"), (11.0, None, "#DataString#", "Cell")])),
        para("Heading", "#Header_S7#"),
        *[add(t) for t in GAS],
        para("Heading", "#Header_S8#"),
        *[add(t) for t in CONDENSATE],
        para("Heading", "#Header_S9#"),
        *[add(t) for t in NLH],
        *[add(t) for t in CURVES],
        para("Sign", "Анализ выполнил        ____________________  /  ____________________"),
        para("Sign", "Начальник лаборатории  ____________________  /  ____________________"),
        # What the results were computed from: one paragraph per line of the Provenance chain.
        para("ProvenanceHead", "Сведения о расчете"),
        para("ProvenanceLine", "#Provenance#"),
    ]
    automatic = "\n".join([
        '<style:style style:name="Report" style:family="table">'
        f'<style:table-properties style:width="{TEXT_WIDTH_CM}cm" table:align="margins" '
        'fo:margin-top="0.1cm" fo:margin-bottom="0.1cm"/></style:style>',
        *column_styles,
        cell_style("Caption", "#d9e2ec"),
        cell_style("Head", "#eef2f6"),
        cell_style("Data", None),
    ])
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<office:document-content {namespaces("office", "style", "text", "table", "draw", "fo", "xlink", "svg")} '
        'office:version="1.3">\n'
        "<office:font-face-decls>"
        '<style:font-face style:name="DejaVu Sans" svg:font-family="\'DejaVu Sans\'" style:font-family-generic="swiss" style:font-pitch="variable"/>'
        "</office:font-face-decls>\n"
        f"<office:automatic-styles>\n{automatic}\n</office:automatic-styles>\n"
        "<office:body><office:text>\n" + "\n".join(body) + "\n</office:text></office:body>\n"
        "</office:document-content>\n")


def cell_style(name, background):
    fill = f' fo:background-color="{background}"' if background else ""
    return (f'<style:style style:name="{name}" style:family="table-cell">'
            f'<style:table-cell-properties fo:padding-left="0.08cm" fo:padding-right="0.08cm" '
            f'fo:padding-top="0.03cm" fo:padding-bottom="0.03cm" fo:border="0.5pt solid #404040"'
            f' style:vertical-align="middle"{fill}/></style:style>')


def paragraph_style(name, size, bold=False, align="start", above="0cm", below="0cm", keep=False):
    weight = ' fo:font-weight="bold"' if bold else ""
    keep_next = ' fo:keep-with-next="always"' if keep else ""
    return (f'<style:style style:name="{name}" style:family="paragraph" style:parent-style-name="Standard">'
            f'<style:paragraph-properties fo:text-align="{align}" fo:margin-top="{above}" '
            f'fo:margin-bottom="{below}"{keep_next}/>'
            f'<style:text-properties fo:font-size="{size}pt"{weight}/></style:style>')


def styles_xml():
    paragraph_styles = "\n".join([
        '<style:style style:name="Standard" style:family="paragraph" style:class="text">'
        '<style:text-properties style:font-name="DejaVu Sans" fo:font-size="10pt" fo:language="ru" '
        'fo:country="RU"/></style:style>',
        paragraph_style("Title", 14, bold=True, align="center"),
        paragraph_style("Subtitle", 11, align="center", below="0.2cm"),
        paragraph_style("Created", 9, align="end", below="0.2cm"),
        paragraph_style("Heading", 12, bold=True, above="0.4cm", below="0.15cm", keep=True),
        paragraph_style("CaptionText", 9, bold=True),
        paragraph_style("HeadText", 8, bold=True, align="center"),
        paragraph_style("Cell", 8),
        paragraph_style("Num", 8, align="end"),
        paragraph_style("Mid", 8, align="center"),
        paragraph_style("Spacer", 6),
        paragraph_style("Sign", 10, above="0.6cm"),
        paragraph_style("ProvenanceHead", 8, bold=True, above="0.8cm", below="0.1cm", keep=True),
        paragraph_style("ProvenanceLine", 7),
        paragraph_style("Footer", 7, align="center"),
    ])
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<office:document-styles {namespaces("office", "style", "text", "table", "fo", "svg")} office:version="1.3">\n'
        "<office:font-face-decls>"
        '<style:font-face style:name="DejaVu Sans" svg:font-family="\'DejaVu Sans\'" style:font-family-generic="swiss" style:font-pitch="variable"/>'
        "</office:font-face-decls>\n"
        f"<office:styles>\n{paragraph_styles}\n</office:styles>\n"
        "<office:automatic-styles>"
        '<style:page-layout style:name="A4"><style:page-layout-properties fo:page-width="21cm" '
        'fo:page-height="29.7cm" style:print-orientation="portrait" fo:margin-top="1.2cm" '
        'fo:margin-bottom="1.2cm" fo:margin-left="2cm" fo:margin-right="1cm"/>'
        '<style:footer-style><style:header-footer-properties fo:min-height="0.6cm" fo:margin-top="0.3cm"/>'
        "</style:footer-style></style:page-layout>"
        "</office:automatic-styles>\n"
        '<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="A4">'
        '<style:footer><text:p text:style-name="Footer">Протокол хроматографического анализа. '
        "Стр. <text:page-number text:select-page=\"current\">1</text:page-number> из "
        "<text:page-count>1</text:page-count></text:p></style:footer>"
        "</style:master-page></office:master-styles>\n"
        "</office:document-styles>\n")


META = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    f'<office:document-meta {namespaces("office", "meta", "dc")} office:version="1.3"><office:meta>'
    "<dc:title>Протокол хроматографического анализа</dc:title>"
    "<meta:generator>Talvex template builder</meta:generator>"
    "</office:meta></office:document-meta>\n")

MANIFEST = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.3">\n'
    ' <manifest:file-entry manifest:full-path="/" manifest:version="1.3" '
    'manifest:media-type="application/vnd.oasis.opendocument.text"/>\n'
    ' <manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>\n'
    ' <manifest:file-entry manifest:full-path="styles.xml" manifest:media-type="text/xml"/>\n'
    ' <manifest:file-entry manifest:full-path="meta.xml" manifest:media-type="text/xml"/>\n'
    f' <manifest:file-entry manifest:full-path="{CURVE_PICTURE_FILE}" manifest:media-type="image/svg+xml"/>\n'
    "</manifest:manifest>\n")


def entries():
    return [
        ("mimetype", "application/vnd.oasis.opendocument.text", zipfile.ZIP_STORED),
        ("content.xml", content_xml(), zipfile.ZIP_DEFLATED),
        ("styles.xml", styles_xml(), zipfile.ZIP_DEFLATED),
        ("meta.xml", META, zipfile.ZIP_DEFLATED),
        (CURVE_PICTURE_FILE, PLACEHOLDER_SVG, zipfile.ZIP_DEFLATED),
        ("META-INF/manifest.xml", MANIFEST, zipfile.ZIP_DEFLATED),
    ]


def write(path):
    with zipfile.ZipFile(path, "w") as odt:
        for name, text, method in entries():
            info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))  # fixed: reproducible bytes
            info.compress_type = method
            info.external_attr = 0o644 << 16
            odt.writestr(info, text.encode("utf-8"))


def check(path):
    """Compares the entries, not the archive bytes: another zlib may compress the same text differently."""
    with zipfile.ZipFile(path) as odt:
        found = [(info.filename, odt.read(info)) for info in odt.infolist()]
    wanted = [(name, text.encode("utf-8")) for name, text, _ in entries()]
    if found != wanted:
        sys.exit(f"{path} is not what {sys.argv[0]} makes: rebuild it with {sys.argv[0]} {path}")


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        check(sys.argv[2])
    elif len(sys.argv) == 2 and not sys.argv[1].startswith("-"):
        write(sys.argv[1])
    else:
        sys.exit(__doc__)

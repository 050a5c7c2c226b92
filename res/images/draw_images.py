#!/usr/bin/env python3
"""Draws Dossel's images as XPM files from the ASCII pixel grids below.

Run from anywhere:  python3 res/images/draw_images.py
It rewrites every .xpm in this folder and images.h, which #includes them all.

Each image is a list of rows, one character per pixel, looked up in PALETTE.
'.' is transparent.  An image may be built from layers: later layers are
painted over earlier ones at an (x, y) offset; in a layer '.' leaves the pixel
below untouched and '_' punches it out to transparent.
"""

import os
import sys

# One flat palette shared by every image, so they look like one family.
PALETTE = {
    '.': None,        # transparent
    'O': '#3B4252',   # outline
    'D': '#5E6779',   # dark grey: hands, connectors, pupil ring
    'G': '#9AA3B3',   # mid grey: text lines, steel
    'g': '#D3D9E3',   # light grey: grid lines, fold
    'w': '#EDF0F5',   # off-white: back page, faint cells
    'W': '#FFFFFF',   # white: paper
    'N': '#2B5A8C',   # dark blue
    'B': '#4A88CF',   # blue
    'b': '#8DBBEA',   # light blue
    'L': '#CFE3F8',   # pale blue
    'E': '#3EA251',   # green
    'e': '#8AD496',   # light green
    'R': '#D8434B',   # red
    'r': '#F29A9D',   # light red
    'Y': '#F3B53F',   # amber / gold
    'y': '#FFDB7E',   # light amber
    'A': '#C98618',   # dark amber
    'S': '#B7C6D8',   # silver-blue
}

HERE = os.path.dirname(os.path.abspath(__file__))


def grid(text):
    """Turns a triple-quoted block into a list of rows (blank lines dropped,
    leading indentation removed)."""
    return [line.strip() for line in text.strip('\n').splitlines() if line.strip()]


def compose(width, height, *layers):
    """layers: (x, y, rows).  Returns the flattened list of rows."""
    canvas = [['.'] * width for _ in range(height)]
    for x0, y0, rows in layers:
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                x, y = x0 + dx, y0 + dy
                if ch == '.':
                    continue
                if not (0 <= x < width and 0 <= y < height):
                    sys.exit(f'layer pixel outside the canvas at ({x}, {y})')
                canvas[y][x] = '.' if ch == '_' else ch
    return [''.join(r) for r in canvas]


IMAGES = {}   # name -> (width, height, rows)


def image(name, width, height, rows):
    if len(rows) != height:
        sys.exit(f'{name}: {len(rows)} rows, expected {height}')
    for i, row in enumerate(rows):
        if len(row) != width:
            sys.exit(f'{name}: row {i} is {len(row)} wide, expected {width}: {row!r}')
        for ch in row:
            if ch not in PALETTE:
                sys.exit(f'{name}: row {i} uses unknown colour {ch!r}')
    IMAGES[name] = (width, height, rows)


# ---------------------------------------------------------------------------
# Shared pieces
# ---------------------------------------------------------------------------

# A small gear (9 x 9), grey, for system objects.
SMALL_GEAR = grid('''
    ...OOO...
    .OOOGOOO.
    .OGGGGGO.
    OOGGOGGOO
    OGGO_OGGO
    OOGGOGGOO
    .OGGGGGO.
    .OOOGOOO.
    ...OOO...
''')

# An eye (10 x 7) for views.
EYE = grid('''
    ...OOOO...
    .OOWWWWOO.
    OWWWBBWWWO
    OWWBNNBWWO
    OWWWBBWWWO
    .OOWWWWOO.
    ...OOOO...
''')

# A clock face (9 x 9) for the trace log.
CLOCK = grid('''
    ...OOO...
    .OOWWWOO.
    .OWWNWWO.
    OWWWNWWWO
    OWWWNNNWO
    OWWWWWWWO
    .OWWWWWO.
    .OOWWWOO.
    ...OOO...
''')

# A table with a header row, 16 x 13: three columns, three data rows.
def table(header='B', sep='N', cell='W', line='g'):
    h, s, c, l = header, sep, cell, line
    return [
        'O' * 16,
        'O' + h * 4 + s + h * 4 + s + h * 4 + 'O',
        'O' + h * 4 + s + h * 4 + s + h * 4 + 'O',
        'O' * 16,
        'O' + c * 4 + l + c * 4 + l + c * 4 + 'O',
        'O' + c * 4 + l + c * 4 + l + c * 4 + 'O',
        'O' + l * 14 + 'O',
        'O' + c * 4 + l + c * 4 + l + c * 4 + 'O',
        'O' + c * 4 + l + c * 4 + l + c * 4 + 'O',
        'O' + l * 14 + 'O',
        'O' + c * 4 + l + c * 4 + l + c * 4 + 'O',
        'O' + c * 4 + l + c * 4 + l + c * 4 + 'O',
        'O' * 16,
    ]


# A key lying on its side (16 x 9); fill colour, dark edge colour.
def key(fill, shade):
    rows = grid('''
        ..OOOO..........
        .OffffO.........
        OffffffOOOOOOOO.
        OffOOffffffffffO
        OffOOffffffffffO
        OfffffsOOOffOffO
        .OfffsO..OffOffO
        ..OOOO...OffOOOO
        .........OOOO...
    ''')
    return [r.replace('f', fill).replace('s', shade) for r in rows]


# ---------------------------------------------------------------------------
# Toolbar buttons, 16 x 15
# ---------------------------------------------------------------------------

image('toolbar_new', 16, 15, grid('''
    ..OOOOOOOO......
    ..OWWWWWWOO.....
    ..OWWWWWWOgO....
    ..OWWWWWWOggO...
    ..OWWWWWWOOOOO..
    ..OWWWWWWWWWWO..
    ..OWWWWWWWWWWO..
    ..OWWWWWWWWWWO..
    ..OWWWWWWWWWWO..
    ..OWWWWWWWWWWO..
    ..OWWWWWWWWWWO..
    ..OWWWWWWWWWWO..
    ..OWWWWWWWWWWO..
    ..OWWWWWWWWWWO..
    ..OOOOOOOOOOOO..
'''))

image('toolbar_open', 16, 15, grid('''
    ................
    .OOOOO..........
    OAAAAAOOOOOOOO..
    OAAAAAAAAAAAAO..
    OAAAAAAAAAAAAO..
    OAAAAAAAAAAAAO..
    OAAAOOOOOOOOOOOO
    OAAAOyyyyyyyyyyO
    OAAOyyyyyyyyyyO.
    OAAOyyyyyyyyyyO.
    OAOyyyyyyyyyyO..
    OAOyyyyyyyyyyO..
    OOyyyyyyyyyyO...
    OOOOOOOOOOOOO...
    ................
'''))

image('toolbar_save', 16, 15, grid('''
    OOOOOOOOOOOOOO..
    OBBBggggggggBBO.
    OBBBgggggDDgBBBO
    OBBBgggggDDgBBBO
    OBBBgggggDDgBBBO
    OBBBggggggggBBBO
    OBBBBBBBBBBBBBBO
    OBBWWWWWWWWWWBBO
    OBBWGGGGGGGGWBBO
    OBBWWWWWWWWWWBBO
    OBBWGGGGGGGGWBBO
    OBBWWWWWWWWWWBBO
    OBBWWWWWWWWWWBBO
    OBBWWWWWWWWWWBBO
    OOOOOOOOOOOOOOOO
'''))

image('toolbar_cut', 16, 15, grid('''
    .OO.........OO..
    .OGO.......OGO..
    .OGGO.....OGGO..
    ..OGGO...OGGO...
    ...OGGO.OGGO....
    ....OGGOGGO.....
    .....ORDRO......
    ....ORO.ORO.....
    .OOOOO...OOOOO..
    ORRRRRO.ORRRRRO.
    OROOORO.OROOORO.
    ORO.ORO.ORO.ORO.
    OROOORO.OROOORO.
    ORRRRRO.ORRRRRO.
    .OOOOO...OOOOO..
'''))

image('toolbar_copy', 16, 15, grid('''
    OOOOOOOOOO......
    OwwwwwwwwO......
    OwGGGGGGwO......
    OwwwwwwwwO......
    OwGGGOOOOOOOOOOO
    OwwwwOWWWWWWWWWO
    OwGGGOWGGGGGGGWO
    OwwwwOWWWWWWWWWO
    OwGGGOWGGGGGGGWO
    OwwwwOWWWWWWWWWO
    OOOOOOWGGGGGGGWO
    .....OWWWWWWWWWO
    .....OWGGGGGWWWO
    .....OWWWWWWWWWO
    .....OOOOOOOOOOO
'''))

image('toolbar_paste', 16, 15, grid('''
    ....OOOOOO......
    .OOOOggggOOOO...
    .OAAOOOOOOAAO...
    .OAAAAAAAAAAO...
    .OAAAAAAAAAAO...
    .OAAAAAAAAAAO...
    .OAAAAOOOOOOOOOO
    .OAAAAOWWWWWWWWO
    .OAAAAOWGGGGGGWO
    .OAAAAOWWWWWWWWO
    .OAAAAOWGGGGGGWO
    .OAAAAOWWWWWWWWO
    .OAAAAOWGGGGWWWO
    .OOOOOOWWWWWWWWO
    ......OOOOOOOOOO
'''))

QUERY_PAGE = grid('''
    OOOOOOOOOOOO
    OWWWWWWWWWWO
    OWBBBWGGGGWO
    OWWWWWWWWWWO
    OWWWBBWGGGWO
    OWWWWWWWWWWO
    OWBBBBWGGWWO
    OWWWWWWWWWWO
    OWWWBBBWGGWO
    OWWWWWWWWWWO
    OWBBWGGGWWWO
    OWWWWWWWWWWO
    OWWWWWWWWWWO
    OWWWWWWWWWWO
    OOOOOOOOOOOO
''')

PENCIL = grid('''
    .......OO.
    ......OrrO
    .....OrrO.
    ....OGGO..
    ...OyyO...
    ..OyyO....
    .OwwO.....
    .ODO......
    OO........
''')

image('toolbar_query', 16, 15, compose(16, 15,
    (0, 0, QUERY_PAGE),
    (6, 6, PENCIL),
))

image('toolbar_result', 16, 15, compose(16, 15,
    (0, 1, table()),
))

LOG_PAGE = grid('''
    OOOOOOOOOOO
    OWWWWWWWWWO
    OWEWGGGGGWO
    OWWWWWWWWWO
    OWEWGGGGWWO
    OWWWWWWWWWO
    OWYWGGGGGWO
    OWWWWWWWWWO
    OWRWGGGWWWO
    OWWWWWWWWWO
    OWEWGGWWWWO
    OWWWWWWWWWO
    OWWWWWWWWWO
    OWWWWWWWWWO
    OOOOOOOOOOO
''')

image('toolbar_trace', 16, 15, compose(16, 15,
    (0, 0, LOG_PAGE),
    (7, 6, CLOCK),
))

image('toolbar_schema', 16, 15, grid('''
    OOOOOO..........
    OBBBBO..........
    OBBBBO..........
    OOOOOO..........
    ..D.............
    ..D....OOOOOOOO.
    ..DDDDDOLLLLLLO.
    ..D....OLLLLLLO.
    ..D....OOOOOOOO.
    ..D.............
    ..D....OOOOOOOO.
    ..DDDDDOLLLLLLO.
    .......OLLLLLLO.
    .......OOOOOOOO.
    ................
'''))

image('toolbar_execute', 16, 15, grid('''
    ................
    ..OO............
    ..OEOO..........
    ..OEEEOO........
    ..OEEEEEOO......
    ..OEEEEEEEOO....
    ..OEEEEEEEEEOO..
    ..OEEEEEEEEEEEO.
    ..OEEEEEEEEEOO..
    ..OEEEEEEEOO....
    ..OEEEEEOO......
    ..OEEEOO........
    ..OEOO..........
    ..OO............
    ................
'''))

image('toolbar_cancel', 16, 15, grid('''
    ....OOOOOOO.....
    ...ORRRRRRRO....
    ..ORRRRRRRRRO...
    .ORRRRRRRRRRRO..
    ORRRWWRRRWWRRRO.
    ORRRWWWRWWWRRRO.
    ORRRRWWWWWRRRRO.
    ORRRRRWWWRRRRRO.
    ORRRRWWWWWRRRRO.
    ORRRWWWRWWWRRRO.
    ORRRWWRRRWWRRRO.
    .ORRRRRRRRRRRO..
    ..ORRRRRRRRRO...
    ...ORRRRRRRO....
    ....OOOOOOO.....
'''))

# ---------------------------------------------------------------------------
# Schema tree, 16 x 16
# ---------------------------------------------------------------------------

image('tree_computer', 16, 16, grid('''
    ................
    .OOOOOOOOOOOOOO.
    .OGGGGGGGGGGGGO.
    .OGNNNNNNNNNNGO.
    .OGNBBBBBBBBNGO.
    .OGNBbBBBBBBNGO.
    .OGNBBBBBBBBNGO.
    .OGNBBBBBBBBNGO.
    .OGNNNNNNNNNNGO.
    .OGGGGGGGGGGGGO.
    .OOOOOOOOOOOOOO.
    ......ODDO......
    ....OOODDOOO....
    ..OgggggggggggO.
    ..OGGGGGGGGGGGO.
    ...OOOOOOOOOOO..
'''))

image('tree_database', 16, 16, grid('''
    ....OOOOOOOO....
    ..OOLLLLLLLLOO..
    .OLLLLLLLLLLLLO.
    .OOOLLLLLLLLOOO.
    .OBBOOOOOOOOBBO.
    .OBBBBBBBBBBBBO.
    .OBBBBBBBBBBBBO.
    .ObbBBBBBBBBbbO.
    .OBBbbbbbbbbBBO.
    .OBBBBBBBBBBBBO.
    .OBBBBBBBBBBBBO.
    .ObbBBBBBBBBbbO.
    .OBBbbbbbbbbBBO.
    .OBBBBBBBBBBBBO.
    ..OOBBBBBBBBOO..
    ....OOOOOOOO....
'''))

image('tree_folder', 16, 16, grid('''
    ................
    ................
    .OOOOO..........
    OAAAAAOOOOOOOOO.
    OAAAAAAAAAAAAAO.
    OOOOOOOOOOOOOOO.
    OYYYYYYYYYYYYYO.
    OYYYYYYYYYYYYYO.
    OYYYYYYYYYYYYYO.
    OYYYYYYYYYYYYYO.
    OYYYYYYYYYYYYYO.
    OYYYYYYYYYYYYYO.
    OYYYYYYYYYYYYYO.
    OOOOOOOOOOOOOOO.
    ................
    ................
'''))

image('tree_folder_open', 16, 16, grid('''
    ................
    ................
    .OOOOO..........
    OAAAAAOOOOOOOO..
    OAAAAAAAAAAAAO..
    OAAAAAAAAAAAAO..
    OAAAOOOOOOOOOOOO
    OAAAOyyyyyyyyyyO
    OAAOyyyyyyyyyyO.
    OAAOyyyyyyyyyyO.
    OAOyyyyyyyyyyO..
    OAOyyyyyyyyyyO..
    OOyyyyyyyyyyO...
    OOOOOOOOOOOOO...
    ................
    ................
'''))

image('tree_table', 16, 16, compose(16, 16, (0, 2, table())))

image('tree_system_table', 16, 16, compose(16, 16,
    (0, 1, table(header='G', sep='D', cell='w')),
    (7, 7, SMALL_GEAR),
))

image('tree_view', 16, 16, compose(16, 16,
    (0, 1, table()),
    (6, 9, EYE),
))

image('tree_procedure', 16, 16, grid('''
    ......OOOO......
    ..OO..OBBO..OO..
    .OBBOOOBBOOOBBO.
    .OBBBBBBBBBBBBO.
    ..OBBBBBBBBBBO..
    ..OBBBBOOBBBBO..
    OOOBBBO..OBBBOOO
    OBBBBO....OBBBBO
    OBBBBO....OBBBBO
    OOOBBBO..OBBBOOO
    ..OBBBBOOBBBBO..
    ..OBBBBBBBBBBO..
    .OBBBBBBBBBBBBO.
    .OBBOOOBBOOOBBO.
    ..OO..OBBO..OO..
    ......OOOO......
'''))

image('tree_column', 16, 16, grid('''
    ................
    OOOOOOOOOOOOOOOO
    OggggOBBBBOggggO
    OggggOBBBBOggggO
    OOOOOOOOOOOOOOOO
    OwwwwOLLLLOwwwwO
    OwwwwOLLLLOwwwwO
    OggggObbbbOggggO
    OwwwwOLLLLOwwwwO
    OwwwwOLLLLOwwwwO
    OggggObbbbOggggO
    OwwwwOLLLLOwwwwO
    OwwwwOLLLLOwwwwO
    OggggObbbbOggggO
    OOOOOOOOOOOOOOOO
    ................
'''))

image('tree_index', 16, 16, grid('''
    ................
    ................
    OOOOOOOOO..OOO..
    OBBBBBBBO..OEO..
    OOOOOOOOO..OEO..
    ...........OEO..
    OOOOOOO....OEO..
    OBBBBBO....OEO..
    OOOOOOO....OEO..
    ...........OEO..
    OOOOO....OOOEOOO
    OBBBO....OEEEEEO
    OOOOO.....OEEEO.
    ...........OEO..
    ............O...
    ................
'''))

image('tree_primary_key', 16, 16, compose(16, 16, (0, 4, key('Y', 'A'))))

image('tree_foreign_key', 16, 16, compose(16, 16, (0, 4, key('S', 'G'))))

image('tree_constraint', 16, 16, grid('''
    ..OOOOOOOOOOOO..
    ..OEEEEEEEEEEO..
    ..OEEEEEEEEEEO..
    ..OEEEEEEEEWWO..
    ..OEEEEEEEWWWO..
    ..OEWEEEEWWWEO..
    ..OEWWEEWWWEEO..
    ..OEWWWWWWEEEO..
    ..OEEWWWWEEEEO..
    ...OEEWWEEEEO...
    ...OEEEEEEEEO...
    ....OEEEEEEO....
    .....OEEEEO.....
    ......OEEO......
    .......OO.......
    ................
'''))

image('tree_trigger', 16, 16, grid('''
    ................
    .........OOOOOO.
    ........OYYYYO..
    .......OYYYYO...
    ......OYYYYO....
    .....OYYYYO.....
    ....OYYYYOOOOO..
    ...OYYYYYYYYO...
    ...OOOOOYYYO....
    .......OYYO.....
    ......OYYO......
    ......OYO.......
    .....OYO........
    .....OO.........
    ................
    ................
'''))

# ---------------------------------------------------------------------------
# Program icon
# ---------------------------------------------------------------------------

image('app_icon', 32, 32, grid('''
    ...............OO...............
    ..........OOOOOOOOOOOO..........
    .........OYYWWWYYWWWYYO.........
    .......OYYYWWWYYYYWWWYYYO.......
    ......OYYYWWWWYYYYWWWWYYYO......
    ....OYYYYWWWWWYYYYWWWWWYYYYO....
    ...OYYYYWWWWWYYYYYYWWWWWYYYYO...
    .OYYYYYWWWWWWYYYYYYWWWWWWYYYYYO.
    .OYYYYYWWWWWWYYYYYYWWWWWWYYYYYO.
    .OYYYYOOWWWWOOYYYYOOWWWWOOYYYYO.
    ..OOOO..OOOO..OOOO..OOOO..OOOO..
    ................................
    ..........OOOOOOOOOOOO..........
    .......OOOLLLLLLLLLLLLOOO.......
    .....OOLLLLLLLLLLLLLLLLLLOO.....
    ....OLLLLLLLLLLLLLLLLLLLLLLO....
    ....OLLLLLLLLLLLLLLLLLLLLLLO....
    ....OOOLLLLLLLLLLLLLLLLLLOOO....
    ....OBBOOOLLLLLLLLLLLLOOOBBO....
    ....OBBBBBOOOOOOOOOOOOBBBBBO....
    ....OBBBBBBBBBBBBBBBBBBBBBBO....
    ....ObbBBBBBBBBBBBBBBBBBBbbO....
    ....OBBbbbBBBBBBBBBBBBbbbBBO....
    ....OBBBBBbbbbbbbbbbbbBBBBBO....
    ....OBBBBBBBBBBBBBBBBBBBBBBO....
    ....ObbBBBBBBBBBBBBBBBBBBbbO....
    ....OBBbbbBBBBBBBBBBBBbbbBBO....
    ....OBBBBBbbbbbbbbbbbbBBBBBO....
    ....OBBBBBBBBBBBBBBBBBBBBBBO....
    .....OOBBBBBBBBBBBBBBBBBBOO.....
    .......OOOBBBBBBBBBBBBOOO.......
    ..........OOOOOOOOOOOO..........
'''))

image('app_icon_16', 16, 16, grid('''
    ......OOOO......
    ...OOOYYYYOOO...
    OOOWWWYYYYWWWOOO
    OYYOWWOYYOWWOYYO
    .OO.OO.OO.OO.OO.
    ................
    ....OOOOOOOO....
    ..OOLLLLLLLLOO..
    ..OLLLLLLLLLLO..
    ..OOOLLLLLLOOO..
    ..OBBOOOOOOBBO..
    ..OBBBBBBBBBBO..
    ..ObbBBBBBBbbO..
    ..OBBbbbbbbBBO..
    ..OOBBBBBBBBOO..
    ....OOOOOOOO....
'''))


# ---------------------------------------------------------------------------
# Driver information: the two function images (not supported, supported)
# ---------------------------------------------------------------------------

image('function_unsupported', 16, 16, grid('''
    ................
    ................
    .....OOOOOO.....
    ....OggggggO....
    ...OggwwwwggO...
    ..OgwwwwwwwwgO..
    ..OgwwwwwwwwgO..
    ..OgwDDDDDDwgO..
    ..OgwDDDDDDwgO..
    ..OgwwwwwwwwgO..
    ..OgwwwwwwwwgO..
    ...OggwwwwggO...
    ....OggggggO....
    .....OOOOOO.....
    ................
    ................
'''))

image('function_supported', 16, 16, grid('''
    ................
    ................
    .....OOOOOO.....
    ....OEEEEEEO....
    ...OEEEEEEWWO...
    ..OEEEEEEWWWEO..
    ..OEEEEEWWWEEO..
    ..OEWWEWWWEEEO..
    ..OEWWWWWEEEEO..
    ..OEEWWWEEEEEO..
    ..OEEEWEEEEEEO..
    ...OEEEEEEEEO...
    ....OEEEEEEO....
    .....OOOOOO.....
    ................
    ................
'''))


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------

def xpm_text(name, width, height, rows):
    used = sorted({ch for row in rows for ch in row}, key=lambda c: (c != '.', c))
    lines = [f'"{width} {height} {len(used)} 1",']
    for ch in used:
        colour = PALETTE[ch] or 'None'
        lines.append(f'"{ch} c {colour}",')
    lines += [f'"{row}",' for row in rows]
    lines[-1] = lines[-1].rstrip(',')
    body = '\n'.join(lines)
    return ('/* XPM */\n'
            '/* Drawn by draw_images.py; edit the grid there and rerun. */\n'
            f'static const char* const {name}_xpm[] = {{\n{body}\n}};\n')


def main():
    for name, (width, height, rows) in IMAGES.items():
        with open(os.path.join(HERE, name + '.xpm'), 'w', newline='\n') as f:
            f.write(xpm_text(name, width, height, rows))
    includes = '\n'.join(f'#include "{name}.xpm"' for name in sorted(IMAGES))
    with open(os.path.join(HERE, 'images.h'), 'w', newline='\n') as f:
        f.write('#pragma once\n'
                '// All of Dossel\'s images, drawn by draw_images.py. Each file defines\n'
                '// a static const char* const <name>_xpm[] for wxBitmap / wxIcon.\n\n'
                f'{includes}\n')
    print(f'wrote {len(IMAGES)} images')


if __name__ == '__main__':
    main()

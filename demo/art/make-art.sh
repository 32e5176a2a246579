#!/usr/bin/env bash
# Draws the demo game's Library, Garden and Sunset pictures (640 x 480 JPEG,
# under 20 KB each) into demo/Frames with ImageMagick. The palette follows the
# Hall: warm browns and lamp gold indoors, an evening sky outside, and the
# lighthouse of the game's title on the horizon. Random details (book spines,
# flowers, glints on the water) come from fixed seeds, so every run draws the
# same pictures.
#
#   demo/art/make-art.sh            (needs ImageMagick 6 "convert" and python3)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
out="$here/../Frames"
[ -d "$out" ] || { echo "make-art: $out is missing" >&2; exit 1; }
# Some systems put a stand-in named convert first on the PATH: prefer ImageMagick's own.
C="${CONVERT:-}"
if [ -z "$C" ]; then
  for candidate in /usr/bin/convert-im6.q16 /usr/bin/convert convert; do
    if "$candidate" -version 2>/dev/null | grep -q ImageMagick; then C="$candidate"; break; fi
  done
fi
[ -n "$C" ] || { echo "make-art: ImageMagick's convert is needed (apt-get install imagemagick)" >&2; exit 1; }
W=640; H=480

# Every intermediate file lives in a folder of our own, removed on the way out.
work="$(mktemp -d "${TMPDIR:-/tmp}/qm-demo-art.XXXXXX")"
case "$work" in /tmp/qm-demo-art.*|"${TMPDIR:-/tmp}"/qm-demo-art.*) ;; *) echo "make-art: odd work folder $work" >&2; exit 1 ;; esac
trap 'rm -rf -- "$work"' EXIT
cd "$work"

# ---- Library: a dark panelled room lined with books -----------------------
# Wall: warm dark panelling, lighter in the middle where the lamp will be.
$C -size ${W}x360 gradient:'#4a3324-#2a1b12' wall.png
$C -size ${W}x120 gradient:'#3a2618-#1e130c' floor.png
$C wall.png floor.png -append base.png
# Floor boards
$C base.png -stroke '#2a1a10' -strokewidth 1 \
  -draw "line 0,380 640,380" -draw "line 0,402 640,402" -draw "line 0,428 640,428" -draw "line 0,456 640,456" \
  -stroke '#5a3c26' -strokewidth 3 -draw "line 0,360 640,360" base.png
# Panelling: a picture rail, a dado rail and sunk panels between them
$C base.png -fill '#5a3d28' -draw "rectangle 0,92 640,96" -draw "rectangle 0,300 640,304" \
  -fill '#00000030' -draw "rectangle 290,112 410,284" -draw "rectangle 430,112 530,284" \
  -fill '#ffffff10' -draw "rectangle 290,284 410,286" -draw "rectangle 430,284 530,286" \
  -fill '#00000030' -draw "rectangle 10,112 80,284" \
  -fill '#00000028' -draw "rectangle 290,312 410,352" -draw "rectangle 430,312 530,352" -draw "rectangle 10,312 80,352" base.png
# Shelves: a bookcase helper
shelf() { # x y w h
  local x=$1 y=$2 w=$3 h=$4
  $C base.png -fill '#2b1a0f' -draw "rectangle $x,$y $((x+w)),$((y+h))" \
     -fill '#5e3d24' -draw "rectangle $((x-6)),$((y-10)) $((x+w+6)),$y" base.png
}
shelf 90 110 180 250
shelf 545 110 80 250
# Books: rows of spines in a muted palette
python3 - <<'PY' > books.mvg
import random
random.seed(7)
cols=['#7a2e22','#2f4a6b','#3d5c3a','#8a6a2c','#5a2d4d','#6b4a2a','#2e5a5a','#8c3b2b','#44506e']
out=[]
def row(x0,x1,ybase,hmax):
    x=x0
    while x<x1-6:
        w=random.randint(7,14)
        if x+w>x1: break
        h=random.randint(hmax-16,hmax)
        c=random.choice(cols)
        if random.random()<0.08:
            # a leaning book
            out.append(f"fill '{c}' polygon {x},{ybase} {x+w},{ybase} {x+w+10},{ybase-h+4} {x+10},{ybase-h+2}")
            x+=w+12; continue
        out.append(f"fill '{c}' rectangle {x},{ybase-h} {x+w-1},{ybase}")
        out.append(f"fill '#00000040' rectangle {x+w-3},{ybase-h} {x+w-1},{ybase}")
        out.append(f"fill '#ffffff22' rectangle {x+1},{ybase-h} {x+2},{ybase}")
        out.append(f"fill '#d8b45a' rectangle {x+2},{ybase-h+6} {x+w-3},{ybase-h+8}")
        x+=w
for (x0,x1) in [(92,268),(547,623)]:
    for yb in (168,228,288,350):
        row(x0,x1,yb,52)
        out.append(f"fill '#5e3d24' rectangle {x0-2},{yb} {x1+2},{yb+6}")
print("\n".join(out))
PY
$C base.png -draw "$(cat books.mvg)" base.png
# Switch plate where hotspot 2 is (298,148 104x124): a brass plate with a lever
$C base.png -fill '#6b4a1c' -draw "roundrectangle 330,170 370,240 6,6" -fill '#c89a3c' -draw "roundrectangle 333,173 367,237 5,5" \
  -fill '#7a5420' -draw "rectangle 346,190 354,220" -fill '#e8c870' -draw "circle 350,196 350,201" base.png
# Empty sconce bracket where the lamp appears (458,148 64x94)
$C base.png -fill '#5a3a18' -draw "rectangle 484,226 496,238" -fill '#8a6a2c' -draw "rectangle 480,236 500,242" base.png
# Reading desk with an open book (hotspot 4: 198,328 244x44)
$C base.png -fill '#3b2414' -draw "polygon 200,352 440,352 460,372 180,372" -fill '#24160c' -draw "rectangle 190,372 450,380" \
  -fill '#24160c' -draw "rectangle 196,380 206,440" -draw "rectangle 434,380 444,440" \
  -fill '#cfc2a0' -draw "polygon 280,338 318,334 320,352 282,354" -fill '#e0d4b2' -draw "polygon 320,334 360,338 358,354 320,352" base.png
# Darkness: a vignette keeps the room dim until the lamp is lit
$C -size ${W}x${H} radial-gradient:'#00000000-#000000b0' vig.png
$C base.png vig.png -composite -strip -quality 78 "$out/library.jpg"

# ---- Garden: an evening garden, the lighthouse on the headland ---------------
# Evening sky: pale gold above, warmer towards the horizon (dark title text reads on it).
$C -size ${W}x250 gradient:'#f3e6c4-#f0b77e' sky.png
$C -size ${W}x230 gradient:'#5f7a3c-#2f4420' lawn.png
$C sky.png lawn.png -append g.png
# Low sun glow behind the hills
$C -size ${W}x${H} xc:none -fill '#fff2c0' -draw "circle 470,236 470,262" -blur 0x18 glow.png
$C g.png glow.png -composite g.png
$C g.png -fill '#fff6d8' -draw "circle 470,236 470,254" g.png
# Far hills and the lighthouse on the right headland
$C g.png -fill '#8a8a6a' -draw "path 'M 0,250 C 120,220 220,238 330,232 C 430,226 520,214 640,224 L 640,262 L 0,262 Z'" \
  -fill '#6d7a4e' -draw "path 'M 0,262 C 140,240 300,258 420,246 C 520,238 600,244 640,240 L 640,280 L 0,280 Z'" g.png
$C g.png -fill '#e8e0d0' -draw "polygon 560,232 572,232 569,180 563,180" \
  -fill '#b03a2e' -draw "rectangle 562,200 570,208" -draw "rectangle 561,218 571,226" \
  -fill '#3a3a3a' -draw "rectangle 561,172 571,180" -fill '#fff0a0' -draw "rectangle 563,174 569,179" \
  -fill '#303030' -draw "polygon 559,172 573,172 566,165" g.png
# Hedges on both sides, shaded from the light on the right
hedge() { # path, fill, shade
  $C g.png -fill "$2" -draw "path '$1'" g.png
}
hedge 'M 0,300 C 40,270 90,268 150,284 C 190,276 230,282 250,300 L 250,330 L 0,330 Z' '#3d5a28'
hedge 'M 400,302 C 440,280 500,276 560,290 C 600,280 630,284 640,292 L 640,332 L 400,332 Z' '#46662e'
$C g.png -fill '#2c4220' -draw "rectangle 0,318 250,332" -draw "rectangle 400,320 640,334" g.png
# A gravel path from the gate in the distance down to the viewer
$C g.png -fill '#c8b48a' -draw "polygon 300,300 350,300 470,480 170,480" \
  -fill '#b09c74' -draw "polygon 306,300 320,300 250,480 214,480" g.png
# Flower beds along the path: dots of colour over darker soil
$C g.png -fill '#4a3a24' -draw "polygon 130,380 250,350 200,480 40,480" -draw "polygon 400,350 520,380 610,480 450,480" g.png
python3 - <<'PY' > flowers.mvg
import random
random.seed(3)
cols=['#e0584a','#f2c14e','#f4f0e8','#c0508a','#e88a3a']
out=[]
for poly,(x0,x1,y0,y1) in [((130,380,250,350,200,480,40,480),(40,250,350,480)),((400,350,520,380,610,480,450,480),(400,610,350,480))]:
    for i in range(170):
        x=random.randint(x0,x1); y=random.randint(y0,y1)
        # keep inside the bed roughly
        t=(y-y0)/(y1-y0)
        if poly[0]==130:
            lo=130-(130-40)*t; hi=250-(250-200)*t
        else:
            lo=400+(450-400)*t; hi=520+(610-520)*t
        if not (lo<=x<=hi): continue
        r=1+int(3*t)
        out.append(f"fill '#2e4a1e' circle {x},{y+r} {x},{y+r+1}")
        out.append(f"fill '{random.choice(cols)}' circle {x},{y} {x+r},{y}")
print("\n".join(out))
PY
$C g.png -draw "$(cat flowers.mvg)" g.png
# An apple tree on the left, its crown catching the light
$C g.png -fill '#4a3222' -draw "polygon 70,330 84,330 88,220 76,220" \
  -fill '#33502a' -draw "circle 60,200 60,250" -draw "circle 110,190 110,232" -draw "circle 84,160 84,204" \
  -fill '#4c7034' -draw "circle 96,174 96,200" -draw "circle 122,192 122,212" \
  -fill '#c8402e' -draw "circle 70,210 70,214" -draw "circle 104,200 104,204" -draw "circle 120,222 120,226" g.png
# Long evening light: darker at the bottom and at the edges
$C -size ${W}x${H} radial-gradient:'#00000000-#00000050' vig.png
$C g.png vig.png -composite -strip -quality 78 "$out/garden.jpg"

# ---- Sunset: the sun sets behind the sea, the lighthouse lit ------------------
# Sky from deep violet down to a burning orange at the horizon (y = 330).
$C -size ${W}x200 gradient:'#2a1840-#8a2e4a' s1.png
$C -size ${W}x130 gradient:'#8a2e4a-#f08a3a' s2.png
$C -size ${W}x150 gradient:'#3a2438-#120a1a' sea.png
$C s1.png s2.png sea.png -append s.png
# The sun, half set, with its glow
$C -size ${W}x${H} xc:none -fill '#ffd070' -draw "circle 320,330 320,400" -blur 0x30 glow.png
$C s.png glow.png -composite s.png
$C s.png -fill '#ffe6a0' -draw "circle 320,330 320,372" s.png
$C s.png -fill '#3a2438' -draw "rectangle 0,331 640,480" s.png
$C -size ${W}x150 gradient:'#5a2e40-#120a1a' sea2.png
$C s.png sea2.png -geometry +0+331 -composite s.png
# Its path on the water: broken golden strokes, narrower with distance
python3 - <<'PY' > glints.mvg
import random
random.seed(11)
out=[]
for i in range(70):
    y=random.randint(334,478)
    t=(y-331)/150
    half=int(30+140*t)
    x=320+random.randint(-half,half)
    w=int(6+26*t*random.random())
    a=int(255*(1-0.6*abs(x-320)/max(half,1)))
    out.append(f"fill '#ffc86a{a:02x}' rectangle {x-w//2},{y} {x+w//2},{y+1+int(2*t)}")
print("\n".join(out))
PY
$C s.png -draw "$(cat glints.mvg)" s.png
# Thin clouds lit from below
$C s.png -fill '#d8607060' -draw "ellipse 140,250 120,6 0,360" -draw "ellipse 500,232 140,7 0,360" \
  -fill '#f0907050' -draw "ellipse 230,290 90,4 0,360" -draw "ellipse 470,300 100,4 0,360" s.png
# The headland and the lighthouse in silhouette, its lamp lit
$C s.png -fill '#140a14' -draw "path 'M 470,331 C 500,300 560,286 640,282 L 640,331 Z'" \
  -draw "polygon 578,286 598,286 594,196 582,196" -draw "rectangle 578,186 598,196" \
  -draw "polygon 576,186 600,186 588,172" s.png
$C -size ${W}x${H} xc:none -fill '#ffe9a0' -draw "circle 588,190 588,193" -blur 0x6 beam.png
$C s.png beam.png -composite -fill '#fff4c0' -draw "rectangle 583,187 593,194" s.png
# Birds, far away
$C s.png -stroke '#1a1020' -strokewidth 2 -fill none \
  -draw "path 'M 120,150 q 6,-6 12,0 q 6,-6 12,0'" -draw "path 'M 160,132 q 5,-5 10,0 q 5,-5 10,0'" \
  -draw "path 'M 96,170 q 4,-4 8,0 q 4,-4 8,0'" s.png
$C s.png -strip -quality 78 "$out/sunset.jpg"

ls -l "$out/library.jpg" "$out/garden.jpg" "$out/sunset.jpg"

# The commands of the whole-process comparison, shared by bench/vs_peers.sh
# (which times them beside libvips and ImageMagick) and bench/same_outputs.sh
# (which checks that two builds of ours write the same bytes). Sourced, not run.

# Makes the inputs in the current folder with ImageMagick ($1: its convert).
make_peer_inputs() {
    local im=$1 a
    "$im" -seed 1 -size 4000x3000 plasma: -depth 8 in.ppm
    "$im" in.ppm -quality 90 in.jpg
    "$im" -seed 2 -size 4000x3000 plasma: -depth 16 PNG48:in16.png
    # Kernels for libvips: width height scale offset, then the weights.
    printf '3 3 9 0\n1 1 1\n1 1 1\n1 1 1\n' > box3.mat
    {
        echo "5 5 256 0"
        for a in 1 4 6 4 1; do
            echo "$((a * 1)) $((a * 4)) $((a * 6)) $((a * 4)) $((a * 1))"
        done
    } > gauss5.mat
}

# Calls `row LABEL OURS_ARGS VIPS_ARGS IM_ARGS` for every command, in the
# folder that make_peer_inputs filled. Our commands write out.* there.
each_peer_command() {
    local gauss5_list
    gauss5_list=$(tail -n +2 gauss5.mat | tr ' \n' ',,' | sed 's/,$//')
    row "convert PPM to PPM" "convert in.ppm out.ppm" "copy in.ppm out.ppm" "in.ppm out.ppm"
    row "3 x 3 box filter" "process in.ppm out.ppm Filter:3,9,0,1,1,1,1,1,1,1,1,1" \
        "conv in.ppm out.ppm box3.mat --precision integer" \
        "in.ppm -define convolve:scale=! -morphology Convolve 3x3:1,1,1,1,1,1,1,1,1 out.ppm"
    row "5 x 5 Gaussian" "process in.ppm out.ppm Filter:5,256,0,$gauss5_list" \
        "conv in.ppm out.ppm gauss5.mat --precision integer" \
        "in.ppm -define convolve:scale=! -morphology Convolve 5x5:$gauss5_list out.ppm"
    row "Mirror" "process in.ppm out.ppm Mirror" "flip in.ppm out.ppm horizontal" "in.ppm -flop out.ppm"
    row "Flip" "process in.ppm out.ppm Flip" "flip in.ppm out.ppm vertical" "in.ppm -flip out.ppm"
    row "RotateRight" "process in.ppm out.ppm RotateRight" "rot in.ppm out.ppm d90" "in.ppm -rotate 90 out.ppm"
    row "Resample2 half, bilinear" "process in.ppm out.ppm Resample2:2000,1500,2,5" \
        "resize in.ppm out.ppm 0.5 --kernel linear" "in.ppm -filter Triangle -resize 2000x1500! out.ppm"
    row "Resample2 1/8, bicubic" "process in.ppm out.ppm Resample2:500,375,5,5" \
        "resize in.ppm out.ppm 0.125 --kernel cubic" "in.ppm -filter Catrom -resize 500x375! out.ppm"
    row "Median 3 x 3" "process in.ppm out.ppm Median:3" "rank in.ppm out.ppm 3 3 4" \
        "in.ppm -statistic Median 3x3 out.ppm"
    row "Gamma 2.2" "process in.ppm out.ppm Gamma:2.2" "gamma in.ppm out.ppm --exponent 2.2" \
        "in.ppm -gamma 2.2 out.ppm"
    row "GrayScale (PGM out)" "process in.ppm out.pgm GrayScale" "colourspace in.ppm out.pgm b-w" \
        "in.ppm -colorspace Gray out.pgm"
    row "JPEG q90, half size, JPEG q90" "process in.jpg out.jpg Resample2:2000,1500,2,5" \
        "resize in.jpg out.jpg[Q=90] 0.5" "in.jpg -resize 2000x1500! -quality 90 out.jpg"
    row "16-bit PNG to 8-bit PPM" "convert in16.png out.ppm" "colourspace in16.png out.ppm srgb" \
        "in16.png -depth 8 out.ppm"
}

# "BUILD_TYPE (optimisation and debug flags)" of a build folder, from its
# cache and the compile command of one of the image library's files.
describe_build() {
    local build=$1 type flags
    type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
    flags=$(python3 - "$build/compile_commands.json" <<'PY'
import json, shlex, sys
for entry in json.load(open(sys.argv[1])):
    if entry["file"].endswith("src/imagelib/ImageFilter.cpp"):
        words = shlex.split(entry["command"])
        print(" ".join(w for w in words if w.startswith(("-O", "-g", "-flto", "-march", "-DNDEBUG"))))
        break
PY
)
    echo "${type:-none} (${flags:-flags unknown})"
}

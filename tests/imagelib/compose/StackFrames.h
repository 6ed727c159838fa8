// Test frames for focus stacking, made with OpenCV: a textured colour
// picture, blurred or moved copies of it, and the conversions to and from the
// library's bottom-up images.
#pragma once

#include "Image.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace stackframes {

// Fine noise texture with a few ring-shaped "cells": detail at every scale.
inline cv::Mat Texture(int width, int height, unsigned seed) {
    cv::RNG rng(seed);
    cv::Mat noise(height, width, CV_8UC3);
    rng.fill(noise, cv::RNG::UNIFORM, 0, 256);
    cv::Mat picture;
    cv::GaussianBlur(noise, picture, cv::Size(0, 0), 1.0);
    cv::normalize(picture, picture, 20, 235, cv::NORM_MINMAX);
    for (int i = 0; i < width * height / 4000; ++i)
        cv::circle(picture, cv::Point(rng.uniform(0, width), rng.uniform(0, height)), rng.uniform(5, 25),
                   cv::Scalar(rng.uniform(0, 256), rng.uniform(0, 256), rng.uniform(0, 256)), 2, cv::LINE_AA);
    return picture;
}

inline cv::Mat Blurred(const cv::Mat& picture, double sigma) {
    cv::Mat out;
    cv::GaussianBlur(picture, out, cv::Size(0, 0), sigma);
    return out;
}

// `sharp` where x < split, `blurred` from there on.
inline cv::Mat Split(const cv::Mat& sharp, const cv::Mat& blurred, int split) {
    cv::Mat out = blurred.clone();
    sharp(cv::Rect(0, 0, split, sharp.rows)).copyTo(out(cv::Rect(0, 0, split, sharp.rows)));
    return out;
}

inline vimg::Image ToImage(const cv::Mat& bgr) {
    vimg::Image img(static_cast<uint32_t>(bgr.cols), static_cast<uint32_t>(bgr.rows), 24);
    for (int y = 0; y < bgr.rows; ++y)
        std::copy_n(bgr.ptr<uint8_t>(y), bgr.cols * 3, img.GetBits(static_cast<uint32_t>(y)));
    return img;
}

inline cv::Mat ToMat(const vimg::Image& img) {
    const int channels = img.GetBpp() / 8;
    cv::Mat out(static_cast<int>(img.GetHeight()), static_cast<int>(img.GetWidth()), CV_8UC(channels));
    for (int y = 0; y < out.rows; ++y)
        std::copy_n(img.GetBits(static_cast<uint32_t>(y)), out.cols * channels, out.ptr<uint8_t>(y));
    return out;
}

inline double Psnr(const cv::Mat& a, const cv::Mat& b) {
    return cv::PSNR(a, b);
}

// Variance of the Laplacian of the grey picture: the usual sharpness figure.
inline double Sharpness(const cv::Mat& bgr) {
    cv::Mat grey, lap;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    cv::Laplacian(grey, lap, CV_64F);
    cv::Scalar mean, deviation;
    cv::meanStdDev(lap, mean, deviation);
    return deviation[0] * deviation[0];
}

} // namespace stackframes

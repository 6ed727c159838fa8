// Test pictures for stitching: a seeded, stained-looking specimen with detail at
// several scales, and views cut from it at sub-pixel corners with the camera's
// faults (vignetting, sensor noise) added.
#pragma once

#include <cmath>
#include <cstdint>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace stitchtest {

inline cv::Mat Specimen(cv::Size size, uint64_t seed) {
    cv::RNG rng(seed);
    cv::Mat sum = cv::Mat::zeros(size, CV_32FC3);
    for (double sigma : {1.5, 4.0, 12.0}) {
        cv::Mat noise(size, CV_32FC3);
        rng.fill(noise, cv::RNG::NORMAL, 0, 1);
        cv::GaussianBlur(noise, noise, cv::Size(), sigma);
        cv::normalize(noise, noise, -1, 1, cv::NORM_MINMAX);
        sum += noise;
    }
    cv::Mat out;
    cv::normalize(sum, sum, 30, 225, cv::NORM_MINMAX);
    sum.convertTo(out, CV_8UC3);
    return out;
}

// The view whose top-left pixel sees the specimen at (x, y).
inline cv::Mat View(const cv::Mat& specimen, double x, double y, cv::Size size, double vignette = 0.25,
                    double noise = 2.0, uint64_t seed = 7) {
    const cv::Matx23d move(1, 0, -x, 0, 1, -y);
    cv::Mat view;
    specimen.convertTo(view, CV_32FC3);
    cv::warpAffine(view, view, move, size, cv::INTER_LANCZOS4, cv::BORDER_REFLECT);
    for (int r = 0; r < size.height; ++r)
        for (int c = 0; c < size.width; ++c) {
            const double u = (c - (size.width - 1) / 2.0) / (size.width / 2.0);
            const double v = (r - (size.height - 1) / 2.0) / (size.height / 2.0);
            view.at<cv::Vec3f>(r, c) *= static_cast<float>(1 - vignette * (u * u + v * v) / 2);
        }
    cv::Mat grain(size, CV_32FC3);
    cv::RNG(seed).fill(grain, cv::RNG::NORMAL, 0, noise);
    cv::Mat out;
    cv::Mat(view + grain).convertTo(out, CV_8UC3);
    return out;
}

} // namespace stitchtest

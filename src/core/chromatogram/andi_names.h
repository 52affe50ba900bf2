#pragma once

// Names the reader and the writer of ANDI chromatography files share.
namespace talvex::andi {

inline constexpr const char* kPointDim = "point_number";
inline constexpr const char* kPeakDim = "peak_number";

inline constexpr const char* kSignal = "ordinate_values";
inline constexpr const char* kDelayTime = "actual_delay_time";
inline constexpr const char* kSamplingInterval = "actual_sampling_interval";
inline constexpr const char* kRunLength = "actual_run_time_length";
inline constexpr const char* kRetentionTimes = "raw_data_retention";
inline constexpr const char* kPeakName = "peak_name";
inline constexpr const char* kPeakStart = "peak_start_time";
inline constexpr const char* kPeakEnd = "peak_end_time";
inline constexpr const char* kPeakArea = "peak_area";
inline constexpr const char* kPeakRetention = "peak_retention_time";

inline constexpr const char* kRetentionUnit = "retention_unit";
inline constexpr const char* kSampleName = "sample_name";
inline constexpr const char* kCompanyMethod = "company_method_name";
inline constexpr const char* kDetectionMethod = "detection_method_name";
inline constexpr const char* kDetectorName = "detector_name";
inline constexpr const char* kOperator = "operator_name";
inline constexpr const char* kComments = "sample_id_comments";
inline constexpr const char* kInjectionStamp = "injection_date_time_stamp";
inline constexpr const char* kSampleType = "sample_type";

// Passport fields the standard has no place for.
inline constexpr const char* kSamplingPoint = "talvex_sampling_point";
inline constexpr const char* kSamplingSite = "talvex_sampling_site";
inline constexpr const char* kEluent = "talvex_eluent";
inline constexpr const char* kReagent = "talvex_reagent";
inline constexpr const char* kVolume = "talvex_volume";
inline constexpr const char* kDilution = "talvex_dilution";
inline constexpr const char* kNorm = "talvex_norm";
inline constexpr const char* kSeriesNo = "talvex_series_no";
inline constexpr const char* kSamplingStamp = "talvex_sampling_date_time_stamp";
// Peaks on a common baseline: the following peak's number (0-based), -1 for none.
inline constexpr const char* kPeakNextLinked = "talvex_peak_next_linked";

// The standard's marker of a value that is not known.
inline constexpr double kMissing = -9999.0;

} // namespace talvex::andi

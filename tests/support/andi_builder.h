#pragma once

#include <netcdf.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace talvex::testing {

// Builds small ANDI chromatography files with any variable in any netCDF type, for the reader's tests.
// Values are given as double and stored converted to the variable's type.
class AndiBuilder {
public:
    AndiBuilder& Text(const std::string& name, const std::string& bytes) {
        texts_[name] = bytes;
        numbers_.erase(name);
        return *this;
    }
    AndiBuilder& Number(const std::string& name, double value) {
        numbers_[name] = value;
        return *this;
    }
    AndiBuilder& Remove(const std::string& name) {
        texts_.erase(name);
        numbers_.erase(name);
        for (auto it = vars_.begin(); it != vars_.end();)
            it = it->name == name ? vars_.erase(it) : it + 1;
        return *this;
    }
    AndiBuilder& Scalar(const std::string& name, double value, nc_type type = NC_FLOAT) {
        Remove(name);
        vars_.push_back({name, type, "", {value}, {}, 0});
        return *this;
    }
    AndiBuilder& Array(const std::string& name, const std::string& dim, std::vector<double> values,
                       nc_type type = NC_FLOAT) {
        Remove(name);
        vars_.push_back({name, type, dim, std::move(values), {}, 0});
        return *this;
    }
    AndiBuilder& Names(std::vector<std::string> names, std::size_t width = 32) {
        Remove("peak_name");
        vars_.push_back({"peak_name", NC_CHAR, "peak_number", {}, std::move(names), width});
        return *this;
    }

    // The standard's layout of a small run: 9 points every 30 s, two peaks, seconds as the unit.
    static AndiBuilder Standard() {
        AndiBuilder b;
        b.Text("retention_unit", "Seconds")
            .Text("sample_name", "Проба 1")
            .Text("company_method_name", "ПИД ГД")
            .Text("injection_date_time_stamp", "20231114221320+0000")
            .Array("ordinate_values", "point_number", {0, 0, 2, 0, 0, 0, 1, 0, 0})
            .Scalar("actual_delay_time", 0)
            .Scalar("actual_sampling_interval", 30)
            .Array("peak_start_time", "peak_number", {30, 150})
            .Array("peak_end_time", "peak_number", {90, 210})
            .Array("peak_area", "peak_number", {60, 30})
            .Names({"Метан", ""});
        return b;
    }

    std::string Bytes() const {
        // A real file rather than netCDF's memory buffer, which ends in whatever the memory held.
        std::string path = (std::filesystem::temp_directory_path() / "talvex-andi-XXXXXX").string();
        const int fd = ::mkstemp(path.data());
        if (fd < 0)
            throw std::runtime_error("mkstemp failed");
        ::close(fd);
        int ncid = -1;
        Check(nc_create(path.c_str(), NC_CLOBBER, &ncid));
        std::map<std::string, int> dims;
        std::vector<int> ids;
        for (const auto& v : vars_) {
            int dimIds[2];
            int ndims = 0;
            if (!v.dim.empty()) {
                const std::size_t length = v.type == NC_CHAR ? v.texts.size() : v.values.size();
                if (!dims.count(v.dim))
                    Check(nc_def_dim(ncid, v.dim.c_str(), length, &dims[v.dim]));
                dimIds[ndims++] = dims[v.dim];
            }
            if (v.type == NC_CHAR) {
                const std::string widthName = "_" + std::to_string(v.width) + "_byte_string";
                if (!dims.count(widthName))
                    Check(nc_def_dim(ncid, widthName.c_str(), v.width, &dims[widthName]));
                dimIds[ndims++] = dims[widthName];
            }
            int id = -1;
            Check(nc_def_var(ncid, v.name.c_str(), v.type, ndims, dimIds, &id));
            ids.push_back(id);
        }
        for (const auto& [name, bytes] : texts_)
            Check(nc_put_att_text(ncid, NC_GLOBAL, name.c_str(), bytes.size(), bytes.data()));
        for (const auto& [name, value] : numbers_)
            Check(nc_put_att_double(ncid, NC_GLOBAL, name.c_str(), NC_DOUBLE, 1, &value));
        Check(nc_enddef(ncid));
        for (std::size_t i = 0; i < vars_.size(); ++i) {
            const auto& v = vars_[i];
            if (v.type == NC_CHAR) {
                std::string all(v.texts.size() * v.width, '\0');
                for (std::size_t k = 0; k < v.texts.size(); ++k)
                    all.replace(k * v.width, v.texts[k].size(), v.texts[k]);
                if (!all.empty())
                    Check(nc_put_var_text(ncid, ids[i], all.data()));
            } else if (!v.values.empty()) {
                const int rc = nc_put_var_double(ncid, ids[i], v.values.data());
                if (rc != NC_ERANGE)
                    Check(rc);
            }
        }
        Check(nc_close(ncid));
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::filesystem::remove(path);
        return bytes;
    }

    std::filesystem::path WriteTo(const std::filesystem::path& path) const {
        const std::string bytes = Bytes();
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    struct Var {
        std::string name;
        nc_type type;
        std::string dim; // empty for a scalar
        std::vector<double> values;
        std::vector<std::string> texts;
        std::size_t width;
    };

    static void Check(int rc) {
        if (rc != NC_NOERR)
            throw std::runtime_error(nc_strerror(rc));
    }

    std::map<std::string, std::string> texts_;
    std::map<std::string, double> numbers_;
    std::vector<Var> vars_;
};

} // namespace talvex::testing

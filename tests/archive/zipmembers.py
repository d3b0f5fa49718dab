"""Lists the members of a ZIP archive as Python's zipfile reads them, one JSON object per member.

Reading each member's bytes makes zipfile check its CRC-32; a bad member makes the script fail."""
import base64
import json
import sys
import zipfile

members = []
with zipfile.ZipFile(sys.argv[1]) as archive:
    for info in archive.infolist():
        members.append({
            "rawName": base64.b64encode(info.orig_filename.encode("cp437")).decode(),
            "method": info.compress_type,
            "flags": info.flag_bits,
            "crc": info.CRC,
            "compressedSize": info.compress_size,
            "size": info.file_size,
            "createSystem": info.create_system,
            "createVersion": info.create_version,
            "extractVersion": info.extract_version,
            "internalAttr": info.internal_attr,
            "externalAttr": info.external_attr,
            "dateTime": list(info.date_time),
            "headerOffset": info.header_offset,
            "content": base64.b64encode(archive.read(info)).decode(),
        })
json.dump(members, sys.stdout)

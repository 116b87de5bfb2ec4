"""The benchmark product: its identity (the deinstall tag) and its
description for stowpack build."""

IDENTITY = [("app_name", "Stowbench"), ("version", "1.0"), ("release_date", "8 December 2026"),
            ("company", "Stowfast Bench"), ("support_email", "bench@stowbench.example")]
FOLDER = "Stowbench"
KEY = "".join(value + ";" for _, value in IDENTITY)


def description(items):
    """A product of the given items, all in the product folder."""
    meta = {"destination": "User Selected", "destination_exists": "Replace", "link": "None",
            "link_exists": "Prompt", "deinstallable": "True"}
    result = dict(IDENTITY)
    result.update({
        "install_folder_name": FOLDER,
        "groups": [{"group_name": "Typical", "group_description": "Everything."}],
        "install_instructions": [{"file_name": item, "groups": ["Typical"], "install_meta": meta}
                                 for item in items],
        "opt_log": True,
        "opt_include_deinstall": True,
        "opt_created_folder": FOLDER,
        "opt_compression": 6,
    })
    return result


def deinstaller_record():
    """The record an install writes into the deinstaller it places, as the
    JSON form of stowpack message."""
    fields = [{"name": name, "type": "CSTR", "values": [value]} for name, value in IDENTITY]
    for edit in ("edit_bootscript", "edit_setup_env", "edit_profile"):
        fields.append({"name": edit, "type": "BOOL", "values": [False]})
    return {"what": 0, "fields": fields}
